// How the Qt backend shows the payload page: the embedded picture, sharp seat squares on a dense
// screen, the icon of the minimized sheet, the longest texts inside their fields.

#include "PayloadPageFixture.h"

#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/qt/QtResources.h"
#include "ui/qt/QtWindow.h"

#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QStyle>
#include <QWidget>

namespace {

QWidget* PageWindow(const CPayloadPage& page) {
    return ToWidget(page.GetSafeHwnd());
}

// What the page shows, one image pixel a page pixel.
QImage GrabPage(QWidget* page) {
    QImage image = page->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}

TEST_F(PayloadPageTest, TemplateShowsTheEmbeddedPictureAtPagePixel9_8AtItsOwnSize) {
    const QImage picture =
        QImage(QStringLiteral(":/res/bitmap140.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(picture.isNull()) << "the aircraft picture is not embedded";
    ASSERT_EQ(picture.size(), QSize(627, 119));
    CPropertyPage bare(IDD_PAYLOAD_PAGE);
    CPropertySheet sheet("Шаблон");
    sheet.AddPage(&bare);
    std::unique_ptr<PageDriver> driver = DriveSheet(sheet);
    ASSERT_NE(driver, nullptr);
    const RgbImage page = driver->Grab();
    ASSERT_EQ(page.width, 645);
    // Inside the control's frame of one pixel, drawn over the picture's edge.
    int wrong = 0;
    for (int y = 1; y + 1 < picture.height(); ++y)
        for (int x = 1; x + 1 < picture.width(); ++x)
            if (page.Pixel(9 + x, 8 + y) != picture.pixel(x, y))
                ++wrong;
    EXPECT_EQ(wrong, 0);
    driver.reset();
    sheet.DestroyWindow();
}

TEST_F(PayloadPageTest, SeatSquaresStayCrispOnADenseScreen) {
    Enter(IDC_CABIN2, "13");
    const QImage page = GrabPage(PageWindow(m_page));
    // The page painted for a screen of two device pixels a page pixel.
    QImage dense(PageWindow(m_page)->size() * 2, QImage::Format_ARGB32);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::red);
    PageWindow(m_page)->render(&dense);
    for (int cabin = 1; cabin <= 3; ++cabin) {
        const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
        const QRect rect(layout.destX, layout.destY, layout.copyWidth, layout.copyHeight);
        int blurred = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                for (const QPoint device : {QPoint(2 * x, 2 * y), QPoint(2 * x + 1, 2 * y),
                                            QPoint(2 * x, 2 * y + 1), QPoint(2 * x + 1, 2 * y + 1)})
                    if (dense.pixel(device) != page.pixel(x, y))
                        ++blurred;
        EXPECT_EQ(blurred, 0) << "cabin " << cabin;
    }
}

TEST_F(PayloadPageTest, MinimizedSheetPaintsTheIconInTheMiddleOfThePage) {
    Enter(IDC_CABIN1, "22");
    QWidget* sheet = ToWidget(m_sheet.GetSafeHwnd());
    sheet->showMinimized();
    ASSERT_TRUE(m_page.IsIconic());
    const QImage page = GrabPage(PageWindow(m_page));
    const QIcon* icon = FromIconHandle(m_page.m_hIcon);
    ASSERT_NE(icon, nullptr);
    const QImage image = icon->pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    // (645 - 32 + 1) / 2, (374 - 32 + 1) / 2
    const QPoint at(307, 171);
    int opaque = 0;
    int wrong = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(image.pixel(x, y)) != 255)
                continue;
            ++opaque;
            if (page.pixel(at + QPoint(x, y)) != image.pixel(x, y))
                ++wrong;
        }
    }
    EXPECT_GT(opaque, 100);
    EXPECT_EQ(wrong, 0);
    sheet->showNormal();
}

TEST_F(PayloadPageTest, SummariesFitTheirFieldsWithEverySeatAndHoldFull) {
    Enter(IDC_CABIN1, "22");
    Enter(IDC_CABIN2, "65");
    Enter(IDC_CABIN3, "15");
    Enter(IDC_HOLD1_PERCENT, "100");
    Enter(IDC_HOLD2_PERCENT, "100");
    for (int id : kPayloadFields) {
        auto* edit = PageWindow(m_page)->findChild<QLineEdit*>(QString::number(id));
        ASSERT_NE(edit, nullptr) << id;
        const int frame =
            edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const int room = edit->width() - 2 * frame - 4;
        EXPECT_LE(QFontMetrics(edit->font()).horizontalAdvance(edit->text()), room)
            << edit->text().toStdString();
    }
}

} // namespace
