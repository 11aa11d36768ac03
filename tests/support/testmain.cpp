#include "testmain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QList>
#include <QMetaMethod>
#include <QSet>
#include <QTest>
#include <memory>

namespace {

struct TestClass
{
    const char *name;
    std::function<QObject *()> make;
    bool needsGui = false;
};

QList<TestClass> &testClasses()
{
    static QList<TestClass> classes;
    return classes;
}

// QtTest options that take a value, so the value is not read as a test name.
const QSet<QByteArray> OptionsWithValue = {"-o",          "-maxwarnings", "-eventdelay", "-keydelay",
                                           "-mousedelay", "-repeat",      "-seed",       "-platform"};

// The test functions named on the command line (without data tags).
QList<QByteArray> namedFunctions(int argc, char *argv[])
{
    QList<QByteArray> names;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (OptionsWithValue.contains(arg))
            ++i;
        else if (!arg.startsWith('-'))
            names.append(arg.left(arg.indexOf(':') < 0 ? arg.size() : arg.indexOf(':')));
    }
    return names;
}

bool hasFunction(const QObject &object, const QByteArray &name)
{
    const QMetaObject *meta = object.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).name() == name)
            return true;
    }
    return false;
}

} // namespace

void registerTestClass(const char *name, std::function<QObject *()> make)
{
    testClasses().append({name, std::move(make)});
}

void registerGuiTestClass(const char *name, std::function<QObject *()> make)
{
    testClasses().append({name, std::move(make), true});
}

namespace {

std::function<QCoreApplication *(int &, char **)> &applicationFactory()
{
    static std::function<QCoreApplication *(int &, char **)> factory;
    return factory;
}

} // namespace

void registerApplicationFactory(std::function<QCoreApplication *(int &argc, char **argv)> make)
{
    applicationFactory() = std::move(make);
}

namespace {

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (applicationFactory()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::unique_ptr<QCoreApplication>(applicationFactory()(argc, argv));
    }
    const QList<TestClass> &classes = testClasses();
    if (std::none_of(classes.begin(), classes.end(), [](const TestClass &c) { return c.needsGui; }))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

// Runs every registered class; when test functions are named, only the
// classes that have them.
int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    const QList<QByteArray> functions = namedFunctions(argc, argv);
    int failed = 0;
    for (const TestClass &test : testClasses()) {
        std::unique_ptr<QObject> object(test.make());
        const bool selected =
            functions.isEmpty() || std::any_of(functions.begin(), functions.end(),
                                               [&](const QByteArray &f) { return hasFunction(*object, f); });
        if (selected && QTest::qExec(object.get(), argc, argv) != 0)
            ++failed;
    }
    return failed;
}
