// The property sheet on a Qt dialog: a tab per page and the dialog's buttons.

#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/qt/QtWidgets.h"
#include "ui/qt/QtWindow.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

class SheetDialog;
void Accept(SheetDialog* dialog);

class SheetDialog : public QDialog {
public:
    SheetDialog(CPropertySheet* sheet, QWidget* parent) : QDialog(parent), m_sheet(sheet) {}
    // Destroyed with its owner's window: the sheet forgets it.
    ~SheetDialog() override {
        if (m_sheet != nullptr)
            m_sheet->Detach();
    }

    // Before the sheet's object goes: no signal may reach it from the dialog's destruction.
    void Release() { m_sheet = nullptr; }
    CPropertySheet* Sheet() const { return m_sheet; }

    QTabWidget* tabs = nullptr;
    int current = -1;

    // OK, Cancel and Escape end the dialog through done(); only the close box closes it
    // otherwise, and it asks the sheet first.
    void done(int result) override {
        m_ending = true;
        QDialog::done(result);
        m_ending = false;
    }

protected:
    // Enter that no page took is the sheet's ОК, as the dialog manager sends IDOK: the focus stays
    // in its field, and the page takes its fields before the sheet closes. Enter on a focused
    // button presses that button.
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
            event->accept();
            Accept(this);
            return;
        }
        QDialog::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (!m_ending && m_sheet != nullptr && !m_sheet->CanClose()) {
            event->ignore();
            return;
        }
        QDialog::closeEvent(event);
    }

private:
    CPropertySheet* m_sheet;
    bool m_ending = false;
};

SheetDialog* DialogOf(NativeWindow* window) {
    return static_cast<SheetDialog*>(ToWidget(window));
}

// Leaves the current page for `index`: the page left takes its fields first and may refuse.
void SwitchPage(SheetDialog* dialog, int index) {
    CPropertySheet* sheet = dialog->Sheet();
    if (sheet == nullptr || index == dialog->current)
        return;
    CPropertyPage* left = sheet->GetPage(dialog->current);
    if (left != nullptr && left->GetSafeHwnd() != nullptr && !left->OnKillActive()) {
        const QSignalBlocker quiet(dialog->tabs);
        dialog->tabs->setCurrentIndex(dialog->current);
        return;
    }
    dialog->current = index;
    if (CPropertyPage* page = sheet->GetPage(index))
        page->Create(ToHandle(dialog->tabs->widget(index)));
}

void Accept(SheetDialog* dialog) {
    CPropertySheet* sheet = dialog->Sheet();
    CPropertyPage* page = sheet != nullptr ? sheet->GetPage(dialog->current) : nullptr;
    if (page != nullptr && page->GetSafeHwnd() != nullptr && !page->OnKillActive())
        return;
    if (sheet != nullptr && !sheet->CanClose())
        return;
    dialog->accept();
}

} // namespace

CPropertySheet::~CPropertySheet() {
    // The pages may be gone already (members of a derived sheet); their windows went with them.
    if (SheetDialog* dialog = DialogOf(m_hWnd)) {
        dialog->Release();
        m_hWnd = nullptr;
        delete dialog;
    }
}

bool CPropertySheet::Create() {
    if (!BuildWindow())
        return false;
    ToWidget(m_hWnd)->show();
    return true;
}

bool CPropertySheet::BuildWindow() {
    if (m_hWnd != nullptr)
        return true;
    QWidget* parent = m_parent != nullptr ? ToWidget(m_parent->GetSafeHwnd()) : nullptr;
    auto* dialog = new SheetDialog(this, parent);
    dialog->setWindowTitle(ToQString(m_caption));
    dialog->setFont(DialogFont());
    auto* layout = new QVBoxLayout(dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->tabs = new QTabWidget(dialog);
    for (CPropertyPage* page : m_pages) {
        auto* holder = new QWidget;
        const DialogTemplate* pageTemplate = page->GetTemplate();
        if (pageTemplate != nullptr) {
            const PixelRect size = DialogUnitsToPixels(0, 0, pageTemplate->w, pageTemplate->h);
            holder->setFixedSize(size.w, size.h);
        }
        dialog->tabs->addTab(holder, pageTemplate != nullptr ? ToQString(pageTemplate->caption)
                                                             : QString());
    }
    layout->addWidget(dialog->tabs);

    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    QPushButton* apply =
        buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::ApplyRole);
    // No page ever reports a change, so there is never anything to apply.
    apply->setEnabled(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, ok] {
        if (!ClickWasRefused(ok))
            Accept(dialog);
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog, cancel] {
        if (!ClickWasRefused(cancel))
            dialog->reject();
    });
    layout->addWidget(buttons);

    m_hWnd = ToHandle(dialog);
    const int start = GetPage(m_startPage) != nullptr ? m_startPage : 0;
    {
        const QSignalBlocker quiet(dialog->tabs);
        dialog->tabs->setCurrentIndex(start);
    }
    SwitchPage(dialog, start);
    QObject::connect(dialog->tabs, &QTabWidget::currentChanged, dialog,
                     [dialog](int index) { SwitchPage(dialog, index); });
    return true;
}

int CPropertySheet::DoModal() {
    // exec() shows the window itself: one shown before would not be modal.
    if (!BuildWindow())
        return IDCANCEL;
    const int result = DialogOf(m_hWnd)->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    DestroyWindow();
    return result;
}

void CPropertySheet::DestroyWindow() {
    SheetDialog* dialog = DialogOf(m_hWnd);
    if (dialog == nullptr)
        return;
    for (CPropertyPage* page : m_pages)
        page->DestroyWindow();
    dialog->Release();
    m_hWnd = nullptr;
    delete dialog;
}
