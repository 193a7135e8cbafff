#include "gui/GuiTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <ostream>

MessageBoxAnswerer::MessageBoxAnswerer() {
    qApp->installEventFilter(this);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    qApp->removeEventFilter(this);
}

std::vector<SeenMessage> MessageBoxAnswerer::Take() {
    return std::exchange(m_seen, {});
}

bool MessageBoxAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            const MessageIcon icon =
                box->icon() == QMessageBox::Critical ? MessageIcon::Stop : MessageIcon::Information;
            m_seen.push_back({box->windowTitle().toStdString(), box->text().toStdString(), icon});
            // Answered from the box's own event loop, once it runs.
            QTimer::singleShot(0, box, [box] {
                if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                    ok->click();
                else
                    box->reject();
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void GuiTest::TearDown() {
    for (const SeenMessage& message : m_answerer.Take())
        ADD_FAILURE() << "a message box nobody expected: " << message;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList left;
    for (QWidget* widget : QApplication::topLevelWidgets())
        left << QString::fromLatin1(widget->metaObject()->className()) + " " + widget->objectName();
    EXPECT_TRUE(left.isEmpty()) << "windows left over: " << left.join(", ").toStdString();
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

std::ostream& operator<<(std::ostream& out, const SeenMessage& message) {
    return out << '"' << message.caption << "\": \"" << message.text << "\" ("
               << (message.icon == MessageIcon::Stop ? "stop" : "information") << ')';
}
