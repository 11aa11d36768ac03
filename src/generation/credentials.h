#pragma once

#include <QString>
#include <optional>

struct AppSettings;
struct VoucherRecord;

// Generated names and passwords use digits and lower-case letters without g, i,
// j and l, which are easily misread on a printed voucher.
extern const QString CredentialAlphabet;

// The random source of credentials: a linear congruential generator with
// per-thread state (1 until seeded), drawing 0 to 32767. Only a generation run
// seeds it.
void seedRandom(quint32 seed);
quint32 nextRandom();
// The seed of a generation run: the time in seconds shifted left by 4, plus the
// low 4 bits of the millisecond tick count.
quint32 generationSeed(qint64 nowSeconds, quint64 tickCount);

QChar randomCredentialCharacter();
QChar randomDigit();

// UserName: the given name as it is (RandomName 0), or the prefix of the
// record's kind followed by GenerateUserSize random characters (RandomName 1).
void makeUserName(VoucherRecord &record, const std::optional<QString> &given, const AppSettings &settings);
// Password: GeneratePasswordSize random characters with CreateRandomPassword,
// else empty.
void makePassword(VoucherRecord &record, const AppSettings &settings);

// Whether the password is generated (not typed in the user-data prompt), and
// whether the user-data prompt must be shown for a record after makeUserName.
bool passwordIsGenerated(const AppSettings &settings);
bool userDataPromptNeeded(const VoucherRecord &record, const AppSettings &settings);

// The serial of a new voucher; advances VoucherSerial in memory. Serials run
// from 1 to 999999999 and start again at 1.
quint32 nextSerial(AppSettings &settings);
