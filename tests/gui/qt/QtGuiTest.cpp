// The GUI tests' backend on Qt widgets.

#include "gui/GuiBackend.h"
#include "gui/GuiTest.h"
#include "gui/qt/QtPageDriver.h"
#include "ui/qt/QtWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <utility>

namespace {

// Watches every widget of the application for a message box being shown.
class QtMessageAnswerer : public QObject, public MessageAnswerer {
public:
    QtMessageAnswerer() { qApp->installEventFilter(this); }
    ~QtMessageAnswerer() override { qApp->removeEventFilter(this); }

    std::vector<SeenMessage> Take() override { return std::exchange(m_seen, {}); }
    void AnswerQuestionsWith(bool yes) override { m_yes = yes; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                const MessageIcon icon = box->icon() == QMessageBox::Critical
                                             ? MessageIcon::Stop
                                             : MessageIcon::Information;
                m_seen.push_back(
                    {box->windowTitle().toStdString(), box->text().toStdString(), icon});
                // Answered from the box's own event loop, once it runs.
                const QMessageBox::StandardButton answer =
                    m_yes ? QMessageBox::Yes : QMessageBox::No;
                QTimer::singleShot(0, box, [box, answer] {
                    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                        ok->click();
                    else if (QAbstractButton* question = box->button(answer))
                        question->click();
                    else
                        box->reject();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<SeenMessage> m_seen;
    bool m_yes = false;
};

} // namespace

std::unique_ptr<MessageAnswerer> StartAnsweringMessages() {
    return std::make_unique<QtMessageAnswerer>();
}

std::unique_ptr<PageDriver> MakePageDriver(NativeWindow* window, MessageAnswerer& answerer) {
    return std::make_unique<QtPageDriver>(ToWidget(window), answerer);
}

std::vector<std::string> TopLevelWindowsLeft() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<std::string> left;
    for (QWidget* widget : QApplication::topLevelWidgets())
        left.push_back(std::string(widget->metaObject()->className()) + " " +
                       widget->objectName().toStdString() + " \"" +
                       widget->windowTitle().toStdString() + "\"");
    return left;
}

namespace {

// Looks for the modal window every 20 ms without blocking the loop that runs meanwhile: a window
// shown before the modal loop starts is not modal, and the loop that makes it so is not yet
// running.
void AwaitModal(std::function<void(NativeWindow*)> act, QDeadlineTimer deadline) {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "no window ever ran modally";
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(widget))
                    dialog->reject();
            return;
        }
        QTimer::singleShot(20, [act = std::move(act), deadline]() mutable {
            AwaitModal(std::move(act), deadline);
        });
        return;
    }
    act(ToHandle(window));
    QTimer::singleShot(10000, window, [window] {
        if (!window->isVisible())
            return;
        ADD_FAILURE() << "the modal window stayed open";
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
    });
}

} // namespace

void CallWhenModal(std::function<void(NativeWindow*)> act) {
    AwaitModal(std::move(act), QDeadlineTimer(10000));
}

void UseToolkitNumberLocale(bool russian) {
    QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
}

int ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->devicePixelRatio() * 96) : 96;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
