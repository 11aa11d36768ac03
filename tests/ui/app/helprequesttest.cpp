#include "testmain.h"

#include "ui/app/helprequest.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

// Takes the URLs the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class HelpRequestTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void f1InADialogOpensTheHelp();
    void shippedPagesByDefault();
};

void HelpRequestTest::f1InADialogOpensTheHelp()
{
    qputenv("WIFITICKETER_HELP_URL", "https://ajuda.example/wifiticketer/");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"https"_s, &catcher, "open");
    HelpRequest help;
    qApp->installEventFilter(&help);

    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    dialog.show();
    QTest::keyClick(edit, Qt::Key_F1);
    QTest::keyClick(edit, Qt::Key_A);

    qApp->removeEventFilter(&help);
    QDesktopServices::unsetUrlHandler(u"https"_s);
    qunsetenv("WIFITICKETER_HELP_URL");
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl(u"https://ajuda.example/wifiticketer/"_s)});
    // F1 went no further; other keys are the edit's.
    QCOMPARE(edit->text(), u"a"_s);
}

void HelpRequestTest::shippedPagesByDefault()
{
    qunsetenv("WIFITICKETER_HELP_URL");
    const QUrl url = HelpRequest::helpUrl();
    QVERIFY(url.isLocalFile());
    // The pages are copied beside the program when it is built.
    QVERIFY2(url.toLocalFile().endsWith(u"/help/index.html"_s), qPrintable(url.toString()));
    QVERIFY2(QFile::exists(url.toLocalFile()), qPrintable(url.toLocalFile()));
}

WIFITICKETER_TEST(HelpRequestTest)
#include "helprequesttest.moc"
