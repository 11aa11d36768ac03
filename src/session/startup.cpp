#include "startup.h"

#include "appstate.h"

#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"
#include "design/designfile.h"

#include <QCoreApplication>
#include <QDir>

void startUp(AppState &state)
{
    state.separators = localeSeparators();
    loadSettings(state.settingsKey, state.settings, state.users);
    state.settingsUnreadable = state.settingsKey.isUnreadable();
    const QString &folder = state.paths.dataFolder;
    const ListFileState routers = loadRouters(folder, state.routers);
    // A damaged Routers.bin may be the only copy of the operator's routers:
    // seeding would let the next save replace it.
    state.routersUnreadable = routers == ListFileState::Damaged && state.routers.isEmpty();
    // Nothing is written back: the routers page saves Routers.bin when confirmed.
    if (state.routers.isEmpty() && routers != ListFileState::Damaged)
        state.routers = legacyRouters(state.settings.Legacy);
    state.defaultDesign = makeDefaultDesign();
    const ListFileState designs = loadDesigns(folder, state.defaultDesign, state.designs);
    const ListFileState profiles = loadHotSpotProfiles(folder, state.hotSpotProfiles);
    const ListFileState userNames = loadUserDatabase(folder, state.userNames);
    state.damagedLists.clear();
    for (const auto &[file, read] :
         {std::pair{ListFile::Routers, routers}, std::pair{ListFile::HotSpotProfiles, profiles},
          std::pair{ListFile::UserDatabase, userNames}, std::pair{ListFile::Designs, designs}}) {
        if (read == ListFileState::Damaged)
            state.damagedLists.append(file);
    }
}

QString settingsUnreadableText(const QString &settingsFile)
{
    return QCoreApplication::translate(
               "Startup", "Não foi possível ler as configurações do programa.\nO arquivo %1 foi mantido "
                          "como está; corrija-o ou remova-o para começar com as configurações iniciais.")
        .arg(QDir::toNativeSeparators(settingsFile));
}

QString routersUnreadableText(const QString &dataFolder)
{
    return QCoreApplication::translate(
               "Startup", "Não foi possível ler a lista de roteadores.\nO arquivo %1 foi mantido "
                          "como está.")
        .arg(QDir::toNativeSeparators(dataFolder + QStringLiteral("/Routers.bin")));
}

QString listFileName(ListFile file)
{
    switch (file) {
    case ListFile::Routers:
        return QStringLiteral("Routers.bin");
    case ListFile::HotSpotProfiles:
        return QStringLiteral("HotSpotProfiles.bin");
    case ListFile::UserDatabase:
        return QStringLiteral("UserDatabase.bin");
    case ListFile::Designs:
        return QStringLiteral("Voucher.bin");
    }
    return {};
}

QString damagedListText(ListFile file, const QString &dataFolder)
{
    const char *what = nullptr;
    switch (file) {
    case ListFile::Routers:
        what =
            QT_TRANSLATE_NOOP("Startup", "A lista de roteadores não pôde ser lida por inteiro: o arquivo %1 "
                                         "está danificado.");
        break;
    case ListFile::HotSpotProfiles:
        what = QT_TRANSLATE_NOOP("Startup", "A lista de perfis do HotSpot não pôde ser lida por inteiro: o "
                                            "arquivo %1 está danificado.");
        break;
    case ListFile::UserDatabase:
        what = QT_TRANSLATE_NOOP("Startup", "A lista de nomes de usuário não pôde ser lida por inteiro: o "
                                            "arquivo %1 está danificado.");
        break;
    case ListFile::Designs:
        what = QT_TRANSLATE_NOOP("Startup", "As definições de voucher não puderam ser lidas por inteiro: o "
                                            "arquivo %1 está danificado.");
        break;
    }
    const QString path = QDir::toNativeSeparators(dataFolder + u'/' + listFileName(file));
    return QCoreApplication::translate("Startup", what).arg(path) + u'\n' +
           QCoreApplication::translate("Startup",
                                       "Ele foi mantido como está e nada será gravado nele; corrija-o "
                                       "ou mova-o para outro lugar e inicie o programa novamente.");
}

QString damagedListsText(const AppState &state, const QList<ListFile> &files)
{
    QStringList texts;
    for (const ListFile file : state.damagedLists) {
        if (files.contains(file))
            texts.append(damagedListText(file, state.paths.dataFolder));
    }
    return texts.join(QStringLiteral("\n\n"));
}

QString damagedListsText(const AppState &state)
{
    return damagedListsText(state, state.damagedLists);
}
