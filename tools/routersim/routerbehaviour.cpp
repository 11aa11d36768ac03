#include "routerbehaviour.h"

#include <array>
#include <utility>

namespace routersim {

namespace {

const std::array<std::pair<LoginMode, const char *>, 4> ModeNames = {{
    {LoginMode::Challenge, "challenge"},
    {LoginMode::Both, "both"},
    {LoginMode::Plain, "plain"},
    {LoginMode::PlainTrap, "plain-trap"},
}};

} // namespace

QString loginModeName(LoginMode mode)
{
    for (const auto &[value, name] : ModeNames) {
        if (value == mode)
            return QString::fromLatin1(name);
    }
    return {};
}

std::optional<LoginMode> loginModeFromName(const QString &name)
{
    for (const auto &[value, text] : ModeNames) {
        if (name == QLatin1StringView(text))
            return value;
    }
    return std::nullopt;
}

bool answerFaultTouches(const RouterBehaviour &behaviour, const QList<QByteArray> &sentence)
{
    return behaviour.faultCommand.isEmpty() ||
           (!sentence.isEmpty() && sentence.first() == behaviour.faultCommand.toUtf8());
}

} // namespace routersim
