// The payload page on the offscreen Qt platform: what one step of cabin 2's slider costs (its
// report, the summaries, the seat map, the exchange into every field, and the paint it causes)
// against a plain QSlider step without any handler, measured in the same run; and the time from
// nothing to the loader's sheet shown and painted.
#include "app/LoaderAppSheet.h"
#include "ui/WinApp.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// The loader's sheet, shown and painted, on its first page, the payload page.
struct ShownSheet {
    CLoaderAppSheet sheet{kLoaderSheetCaption};
    CPayloadPage& payload = sheet.m_payloadPage;

    ShownSheet() {
        sheet.Create();
        QWidget* window = ToWidget(sheet.GetSafeHwnd());
        if (window == nullptr || !QTest::qWaitForWindowExposed(window))
            std::fprintf(stderr, "the sheet was never shown\n");
        QCoreApplication::processEvents();
    }
    ~ShownSheet() { sheet.DestroyWindow(); }

    QWidget* Control(int id) const {
        return ToWidget(payload.GetSafeHwnd())->findChild<QWidget*>(QString::number(id));
    }
};

// A slider as the page's, with no handler: what the toolkit costs on its own.
struct PlainSlider {
    QWidget window;
    QSlider* slider = new QSlider(Qt::Horizontal, &window);

    PlainSlider() {
        window.resize(645, 374);
        slider->setGeometry(224, 150, 150, 34);
        slider->setRange(0, kCabin2Seats);
        slider->setTickPosition(QSlider::TicksAbove);
        slider->setTickInterval(5);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::fprintf(stderr, "the window was never shown\n");
        QCoreApplication::processEvents();
    }
};

// Between 32 and 33 passengers, so that every step changes the position and one seat.
int NextPosition(int64_t step) {
    return step % 2 == 0 ? 33 : 32;
}

void BM_PlainSliderSetValue(benchmark::State& state) {
    PlainSlider plain;
    int64_t step = 0;
    for (auto _ : state)
        plain.slider->setValue(NextPosition(step++));
}

void BM_Cabin2SetPos(benchmark::State& state) {
    ShownSheet shown;
    int64_t step = 0;
    for (auto _ : state)
        shown.payload.m_sliderCabin2.SetPos(NextPosition(step++));
    if (shown.payload.m_nCabin2 != 32 && shown.payload.m_nCabin2 != 33)
        state.SkipWithError("the page did not follow its slider");
}

// The step and the paint of whatever it changed.
void BM_Cabin2SetPosPainted(benchmark::State& state) {
    ShownSheet shown;
    int64_t step = 0;
    for (auto _ : state) {
        shown.payload.m_sliderCabin2.SetPos(NextPosition(step++));
        QCoreApplication::processEvents();
    }
}

class ExchangingPage : public CPayloadPage {
public:
    using CPayloadPage::UpdateData;
};

// The exchange of a step alone, every field written with the text it already shows, and the
// paint that follows: what the fields cost when nothing in them changes.
void BM_UnchangedExchangePainted(benchmark::State& state) {
    ShownSheet shown;
    auto& page = static_cast<ExchangingPage&>(shown.payload);
    for (auto _ : state) {
        page.UpdateData(false);
        QCoreApplication::processEvents();
    }
}

// A key on the slider, and the paint of whatever the step changed.
void BM_PlainSliderKeyPainted(benchmark::State& state) {
    PlainSlider plain;
    plain.slider->setValue(32);
    plain.slider->setFocus();
    int64_t step = 0;
    for (auto _ : state) {
        QTest::keyClick(plain.slider, step++ % 2 == 0 ? Qt::Key_Right : Qt::Key_Left);
        QCoreApplication::processEvents();
    }
}

void BM_Cabin2KeyPainted(benchmark::State& state) {
    ShownSheet shown;
    shown.payload.m_sliderCabin2.SetPos(32);
    QWidget* slider = shown.Control(IDC_SLIDER_CABIN2);
    slider->setFocus();
    QCoreApplication::processEvents();
    int64_t step = 0;
    for (auto _ : state) {
        QTest::keyClick(slider, step++ % 2 == 0 ? Qt::Key_Right : Qt::Key_Left);
        QCoreApplication::processEvents();
    }
    if (shown.payload.m_nCabin2 != 32 && shown.payload.m_nCabin2 != 33)
        state.SkipWithError("the page did not follow its slider");
}

// Pages built, the sheet made, shown and painted; then closed again.
void BM_SheetShown(benchmark::State& state) {
    for (auto _ : state)
        ShownSheet shown;
}

// The baseline of the sheet: a minimal dialog of the toolkit, a text and two buttons, made,
// shown, painted and closed again.
void BM_MinimalDialogShown(benchmark::State& state) {
    for (auto _ : state) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("Загрузчик самолета Ил-18Д")));
        layout->addWidget(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            state.SkipWithError("the dialog was never shown");
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_PlainSliderSetValue);
BENCHMARK(BM_Cabin2SetPos);
BENCHMARK(BM_Cabin2SetPosPainted);
BENCHMARK(BM_UnchangedExchangePainted);
BENCHMARK(BM_PlainSliderKeyPainted);
BENCHMARK(BM_Cabin2KeyPainted);
BENCHMARK(BM_MinimalDialogShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetShown)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    UseDialogFont();
    UseDesktopStyle();
    // The page takes its icon from the application object.
    CWinApp app;
    const double toolkitMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
    {
        // The first sheet of the process, as the program's start makes it: fonts, style and
        // pictures are loaded for the first time.
        ShownSheet first;
        std::printf("start to the sheet first shown and painted: %.1f ms (%.1f ms of it the "
                    "toolkit's start)\n",
                    static_cast<double>(sinceStart.nsecsElapsed()) / 1e6, toolkitMs);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
