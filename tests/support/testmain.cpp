#include "testmain.h"

#include <QCoreApplication>
#include <QList>
#include <QTest>
#include <memory>

namespace {

struct TestClass
{
    const char *name;
    std::function<QObject *()> make;
};

QList<TestClass> &testClasses()
{
    static QList<TestClass> classes;
    return classes;
}

} // namespace

void registerTestClass(const char *name, std::function<QObject *()> make)
{
    testClasses().append({name, std::move(make)});
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (const TestClass &test : testClasses()) {
        std::unique_ptr<QObject> object(test.make());
        if (QTest::qExec(object.get(), argc, argv) != 0)
            ++failed;
    }
    return failed;
}
