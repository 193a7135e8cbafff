// The committed aircraft picture and program icons: their format, the cabin panels that the
// payload page's seat maps are copied into, and that the generator still draws them.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const QString kResDir = QStringLiteral(LOADER_RES_DIR);

QImage loadCommitted(const QString& name) {
    return QImage(kResDir + QLatin1Char('/') + name);
}

std::string describe(const QRect& r) {
    std::ostringstream text;
    text << '(' << r.left() << ", " << r.top() << ") to (" << r.right() << ", " << r.bottom()
         << ')';
    return text.str();
}

bool isWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

// ---------------------------------------------------------------------------------------------
// Every file: its size and an 8-bit palette.

struct ArtFile {
    const char* name;
    int width;
    int height;
};

void PrintTo(const ArtFile& file, std::ostream* os) {
    *os << file.name;
}

class ArtFileTest : public testing::TestWithParam<ArtFile> {};

TEST_P(ArtFileTest, IsAnIndexedPictureOfItsSize) {
    const ArtFile& file = GetParam();
    const QImage image = loadCommitted(QString::fromLatin1(file.name));
    ASSERT_FALSE(image.isNull()) << file.name << " is missing or unreadable";
    EXPECT_EQ(image.width(), file.width);
    EXPECT_EQ(image.height(), file.height);
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_GT(image.colorCount(), 2);
    EXPECT_LE(image.colorCount(), 256);
}

INSTANTIATE_TEST_SUITE_P(Committed, ArtFileTest,
                         testing::Values(ArtFile{"bitmap140.png", 627, 119},
                                         ArtFile{"bitmap141.png", 1254, 238},
                                         ArtFile{"icon32.png", 32, 32},
                                         ArtFile{"icon48.png", 48, 48},
                                         ArtFile{"icon256.png", 256, 256}),
                         [](const testing::TestParamInfo<ArtFile>& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

// ---------------------------------------------------------------------------------------------
// The cabin panels of the aircraft picture (inclusive pixel ranges) and the rectangles that the
// payload page copies each cabin's seat map onto, in picture pixels.

struct CabinPanel {
    int cabin;
    QRect panel;
    QRect seatMap;
};

void PrintTo(const CabinPanel& cabin, std::ostream* os) {
    *os << "cabin " << cabin.cabin;
}

class CabinPanelTest : public testing::TestWithParam<CabinPanel> {
protected:
    void SetUp() override {
        picture = loadCommitted(QStringLiteral("bitmap140.png"));
        ASSERT_FALSE(picture.isNull());
        ASSERT_TRUE(picture.rect().contains(GetParam().panel.adjusted(-1, -1, 1, 1)));
    }
    QImage picture;
};

TEST_P(CabinPanelTest, PanelIsPureWhite) {
    const QRect& panel = GetParam().panel;
    int offWhite = 0;
    for (int y = panel.top(); y <= panel.bottom(); ++y)
        for (int x = panel.left(); x <= panel.right(); ++x)
            offWhite += isWhite(picture, x, y) ? 0 : 1;
    EXPECT_EQ(offWhite, 0) << "pixels not white in panel " << describe(panel);
}

TEST_P(CabinPanelTest, PanelIsFramedByPixelsThatAreNotWhite) {
    const QRect ring = GetParam().panel.adjusted(-1, -1, 1, 1);
    std::vector<QPoint> white;
    for (int x = ring.left(); x <= ring.right(); ++x)
        for (int y : {ring.top(), ring.bottom()})
            if (isWhite(picture, x, y))
                white.emplace_back(x, y);
    for (int y = ring.top(); y <= ring.bottom(); ++y)
        for (int x : {ring.left(), ring.right()})
            if (isWhite(picture, x, y))
                white.emplace_back(x, y);
    EXPECT_TRUE(white.empty()) << white.size() << " white pixels around the panel, first at ("
                               << white.front().x() << ", " << white.front().y() << ")";
}

TEST_P(CabinPanelTest, SeatMapLandsInsideThePanel) {
    const CabinPanel& cabin = GetParam();
    EXPECT_TRUE(cabin.panel.contains(cabin.seatMap))
        << "seat map " << describe(cabin.seatMap) << " leaves panel " << describe(cabin.panel);
}

INSTANTIATE_TEST_SUITE_P(
    Cabins, CabinPanelTest,
    testing::Values(CabinPanel{1, QRect(QPoint(89, 32), QPoint(152, 86)), QRect(89, 34, 63, 53)},
                    CabinPanel{2, QRect(QPoint(225, 32), QPoint(383, 86)), QRect(225, 33, 159, 53)},
                    CabinPanel{3, QRect(QPoint(432, 33), QPoint(474, 86)), QRect(434, 34, 38, 53)}),
    [](const testing::TestParamInfo<CabinPanel>& info) {
        return "Cabin" + std::to_string(info.param.cabin);
    });

// Nothing but the panels is pure white, so a seat map copied a pixel off its place would show.
TEST(AircraftPicture, HasNoWhiteOutsideThePanels) {
    const QImage picture = loadCommitted(QStringLiteral("bitmap140.png"));
    ASSERT_FALSE(picture.isNull());
    const QRect panels[] = {QRect(QPoint(89, 32), QPoint(152, 86)),
                            QRect(QPoint(225, 32), QPoint(383, 86)),
                            QRect(QPoint(432, 33), QPoint(474, 86))};
    int stray = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            bool inPanel = false;
            for (const QRect& panel : panels)
                inPanel = inPanel || panel.contains(x, y);
            stray += (!inPanel && isWhite(picture, x, y)) ? 1 : 0;
        }
    EXPECT_EQ(stray, 0);
}

// ---------------------------------------------------------------------------------------------
// The icons: an aircraft on a transparent ground.

class IconTest : public testing::TestWithParam<const char*> {};

TEST_P(IconTest, IsAnOpaqueShapeOnATransparentGround) {
    const QImage icon = loadCommitted(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(icon.isNull());
    const int last = icon.width() - 1;
    for (const QPoint& corner :
         {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << "corner " << corner.x() << ", " << corner.y();
    // The middle of the fuselage, where the wings meet it.
    EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconTest,
                         testing::Values("icon32.png", "icon48.png", "icon256.png"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// ---------------------------------------------------------------------------------------------
// The generator: two runs write the same bytes, and what it draws is what is committed.

const char* const kGeneratedFiles[] = {"bitmap140.png", "bitmap141.png",  "icon32.png",
                                       "icon48.png",    "icon256.png",    "bitmap140.bmp",
                                       "bitmap141.bmp", "il18-loader.ico"};

bool runGenerator(const QString& folder, QString* output) {
    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    generator.start(QStringLiteral(LOADER_ARTWORK_EXE), QStringList{folder});
    const bool finished = generator.waitForFinished(60000);
    *output = QString::fromLocal8Bit(generator.readAll());
    return finished && generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Generator, DrawsTheCommittedPicturesAndTheSameBytesTwice) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    QString output;
    ASSERT_TRUE(runGenerator(first.path(), &output)) << output.toStdString();
    ASSERT_TRUE(runGenerator(second.path(), &output)) << output.toStdString();

    for (const char* name : kGeneratedFiles) {
        SCOPED_TRACE(name);
        const QString file = QString::fromLatin1(name);
        const QByteArray bytes = readBytes(first.filePath(file));
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(bytes, readBytes(second.filePath(file)));

        // Pixels rather than bytes: another zlib may pack the same pixels differently.
        const QImage drawn = QImage(first.filePath(file)).convertToFormat(QImage::Format_ARGB32);
        const QImage committed = loadCommitted(file).convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(drawn == committed)
            << "res/" << name << " is out of date: build the target artwork";
    }
}

TEST(Generator, FailsWithoutAnOutputFolder) {
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    QString output;
    EXPECT_FALSE(runGenerator(parent.filePath(QStringLiteral("missing")), &output));
    EXPECT_FALSE(QFile::exists(parent.filePath(QStringLiteral("missing/bitmap140.png"))));
}

} // namespace
