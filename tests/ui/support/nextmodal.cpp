#include "nextmodal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtDebug>
#include <memory>

namespace {

constexpr int PollMilliseconds = 10;
constexpr int GiveUpMilliseconds = 10000;

} // namespace

void onNextModal(std::function<void(QWidget *dialog)> handle)
{
    auto *timer = new QTimer(qApp);
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, waited, handle = std::move(handle)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == before) {
            if (waited->elapsed() > GiveUpMilliseconds) {
                qWarning("onNextModal: no modal dialog opened");
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        const QPointer<QWidget> guard = modal;
        handle(modal);
        if (guard && guard->isVisible()) {
            if (auto *dialog = qobject_cast<QDialog *>(guard.data()))
                dialog->reject();
            else
                guard->close();
        }
    });
    timer->start(PollMilliseconds);
}
