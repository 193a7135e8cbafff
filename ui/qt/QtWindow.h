#pragma once

#include <QFont>
#include <QString>
#include <string_view>

class QWidget;
struct NativeWindow;

// A NativeWindow of the Qt backend is a QWidget.
inline QWidget* ToWidget(NativeWindow* window) {
    return reinterpret_cast<QWidget*>(window);
}
inline NativeWindow* ToHandle(QWidget* widget) {
    return reinterpret_cast<NativeWindow*>(widget);
}

// The widget's device pixel ratio as dots per inch: 96 at 1, 144 at 1.5.
int DpiOf(const QWidget& widget);

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The font of every dialog: pinned, never the desktop's, so that each text fits the fixed
// geometry of the templates (Liberation Sans Narrow, 11 pixels: a line is 13 pixels high like
// the original dialog font's).
inline constexpr const char* kDialogFontFamily = "Liberation Sans Narrow";
inline constexpr int kDialogFontPixelSize = 11;
QFont DialogFont();

// Makes DialogFont the application's font (message boxes, the sheet); the pages set it on
// themselves as well.
void UseDialogFont();
// The toolkit's own desktop style and its standard light palette, the same on every desktop.
void UseDesktopStyle();
