#pragma once

#include "common/NumberText.h"

#include <optional>
#include <string>
#include <string_view>

class CPropertyPage;
class CWnd;

// One pass of dialog data exchange over a page's DoDataExchange: from the members into the
// controls (m_bSaveAndValidate false) or from the controls into the members (true). The first
// field whose text is refused ends the pass: its member and the members after it keep their
// values.
class CDataExchange {
public:
    CDataExchange(CPropertyPage* page, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(page) {}

    const bool m_bSaveAndValidate;
    CPropertyPage* const m_pDlgWnd;

    bool Failed() const { return m_failed; }
    // Refuses the text of control `id`: shows `message` in the application's message box with
    // the stop icon, puts the focus back on the control with its text selected and ends the pass.
    void Fail(int id, std::string_view message);

private:
    bool m_failed = false;
};

// The messages of a refused field.
inline constexpr std::string_view kParseRealMessage = "Введите число.";
inline constexpr std::string_view kParseIntMessage = "Введите целое число.";

// Numbers in fields are written and read in the C locale, whatever the desktop's; a float field
// also takes one decimal comma for the point ("3600,5"), an integer field does not.
void DDX_Text(CDataExchange* pDX, int id, float& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Binds `control` to the page's control `id` (once; the page unbinds it when its window goes).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
