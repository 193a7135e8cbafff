#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// A dialog template as data: the page's caption and size and its controls in template order,
// which is also the order of creation, the z-order and the tab order. Positions and sizes are
// dialog units; DialogUnitsToPixels turns them into pixels of the page.

enum class ControlKind {
    Static,     // a text label; its lines break at blanks
    GroupBox,   // a frame with an optional title; never covers or catches clicks of others
    Edit,       // a one-line edit field
    ComboBox,   // a drop-down list with an edit field; its height includes the open list
    PushButton, // a push button
    Slider,     // a horizontal slider
    Picture,    // a bitmap resource, centred in the control and clipped to it
};

// Style bits; which ones apply depends on the kind.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kStyleCentered = 1u << 0,    // Static: centred lines; GroupBox: centred title
    kStyleTransparent = 1u << 1, // Static: shows what lies beneath
    kStyleReadOnly = 1u << 2,    // Edit
    kStyleNoBorder = 1u << 3,    // Edit
    kStyleDefault = 1u << 4,     // PushButton: the page's default button (Enter)
    kStyleSunkenEdge = 1u << 5,  // PushButton: a sunken edge around the button
    kStyleTicksOnTop = 1u << 7,  // Slider: tick marks above the groove
    kStyleThinBorder = 1u << 8,  // Picture: a one-pixel frame
};

inline constexpr int kNoControlId = -1; // statics and group boxes

struct ControlTemplate {
    ControlKind kind;
    int id;                // kNoControlId when the page never addresses the control
    std::string_view text; // UTF-8; "\n" breaks a line
    std::uint32_t style;
    int x, y, w, h;                               // dialog units
    int image = 0;                                // Picture: bitmap resource id
    std::span<const std::string_view> items = {}; // ComboBox: the entries, in order

    bool Has(std::uint32_t flag) const { return (style & flag) != 0; }
};

struct DialogTemplate {
    int id;
    std::string_view caption; // the tab title of a page
    int w, h;                 // dialog units
    std::span<const ControlTemplate> controls;
};

// The program's dialog templates (res/); nullptr for an unknown id.
const DialogTemplate* FindDialogTemplate(int id);

// number * numerator / denominator, rounded half away from zero as Windows rounds it: the product
// is formed in 64 bits, and a zero denominator or a quotient beyond int gives -1.
int MulDiv(int number, int numerator, int denominator);

// The dialog font's base units: 6 pixels per 4 horizontal units, 13 per 8 vertical ones.
inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

struct PixelRect {
    int x, y, w, h;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The dots per inch of a screen at 100 %, at which the base units above are pixels.
inline constexpr int kDefaultDpi = 96;

// Converts each of x, y, w and h on its own, as dialog creation does, into pixels of a screen of
// `dpi` dots per inch: the rectangle at 100 % with its edges times dpi / 96, rounded as MulDiv
// rounds.
PixelRect DialogUnitsToPixels(int x, int y, int w, int h, int dpi = kDefaultDpi);
