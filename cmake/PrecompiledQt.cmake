# Qt's headers are most of what each file of this project compiles: every
# target parses the common ones once, in a precompiled header of its own. The
# fuzz build (clang with sanitizers) compiles without, which also shows any
# file that forgets an include of its own.
set(WIFITICKETER_PCH_HEADERS
    <QByteArray> <QCoreApplication> <QDateTime> <QHash> <QList> <QString> <QStringList> <QVariant>
    <functional> <memory> <optional>)

# wifiticketer_precompile(TARGET [HEADER...]): the common headers and the
# given ones, precompiled for the target.
function(wifiticketer_precompile target)
    if(NOT WIFITICKETER_FUZZ)
        target_precompile_headers(${target} PRIVATE ${WIFITICKETER_PCH_HEADERS} ${ARGN})
    endif()
endfunction()
