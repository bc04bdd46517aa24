#include "client/ui/app/QtMessageBox.h"

#include "platform/Dispatcher.h"
#include "platform/Http.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace {

QString CaptionOrTitle(const std::string& caption)
{
    if (!caption.empty())
        return QString::fromStdString(caption);
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}

int ShowOnUiThread(const std::string& text, const std::string& caption, unsigned type)
{
    QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                      : QApplication::activeWindow());
    box.setWindowTitle(CaptionOrTitle(caption));
    // Texts from the server end their lines with "\n\r"; a label wants "\n".
    box.setText(QString::fromStdString(text).remove(QLatin1Char('\r')));
    switch (type & 0xF0) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (type & 0xF) {
    case kMbOkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case kMbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return kIdCancel;
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    default: return (type & 0xF) == kMbYesNo ? kIdNo : kIdOk;
    }
}

}  // namespace

int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    auto* app = QCoreApplication::instance();
    if (!app)
        return (type & 0xF) == kMbYesNo ? kIdNo : kIdOk;
    if (QThread::currentThread() == app->thread())
        return ShowOnUiThread(text, caption, type);
    int answer = kIdOk;
    QMetaObject::invokeMethod(
        app, [&] { answer = ShowOnUiThread(text, caption, type); }, Qt::BlockingQueuedConnection);
    return answer;
}

void InstallQtMessageBoxes()
{
    SetMessageBoxHandler(&ShowQtMessageBox);
    // The worker that met the error goes on at once; the box follows on the
    // user-interface thread, so no exchange waits for the member to click.
    SetTransportErrorReporter(
        [](const std::string& text) { PostToUiThread([text] { ShowMessageBox(text, {}, kMbOk | kMbIconError); }); });
}

void UninstallQtMessageBoxes()
{
    SetTransportErrorReporter(nullptr);
    SetMessageBoxHandler({});
}
