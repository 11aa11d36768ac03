#pragma once

#include <QString>
#include <optional>

struct AppSettings;
struct VoucherRecord;

// Generated names and passwords use digits and lower-case letters without g, i,
// j and l, which are easily misread on a printed voucher.
extern const QString CredentialAlphabet;

// Credential characters come from the system's cryptographic random source,
// each one a uniform draw from its alphabet, so no voucher (nor the time it was
// printed) tells anything about another. Safe to call from any thread.
QChar randomCredentialCharacter(); // one of CredentialAlphabet
QChar randomDigit();               // 0 to 9

// UserName: the given name as it is (RandomName 0), or the prefix of the
// record's kind followed by GenerateUserSize random characters (RandomName 1).
// Sizes outside the setup page's range 2 to 12 can only come from a damaged
// key; they give the default size.
void makeUserName(VoucherRecord &record, const std::optional<QString> &given, const AppSettings &settings);
// Password: GeneratePasswordSize random characters with CreateRandomPassword,
// else empty. The size is checked like the name's.
void makePassword(VoucherRecord &record, const AppSettings &settings);

// Whether the password is generated (not typed in the user-data prompt), and
// whether the user-data prompt must be shown for a record after makeUserName.
bool passwordIsGenerated(const AppSettings &settings);
bool userDataPromptNeeded(const VoucherRecord &record, const AppSettings &settings);

// The highest serial a voucher gets; the one after it is 1.
inline constexpr quint32 MaxSerial = 999999999;

// The serial of a new voucher; advances VoucherSerial in memory. Serials run
// from 1 to 999999999 and start again at 1.
quint32 nextSerial(AppSettings &settings);
