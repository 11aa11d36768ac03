#include "cliusage.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

const QString CommonOptions = uR"(Common options (before or after the command):
  --router NAME              the router named exactly NAME (default: the first router)
  --operator NAME            program user (default empty)
  --operator-password-stdin  read the program user's password from the first line
                             of standard input (default: the environment variable
                             WIFITICKETER_OPERATOR_PASSWORD, else empty)
  --operator-password PW     the password on the command line, where every user of
                             the machine can read it; it warns so
  --yes | --no               the answer to every question
  -h, --help                 help; after a command, that command's help
)"_s;

// Each command's own help, without the common options.
const QHash<QString, QString> CommandHelp = {
    {u"routers"_s, uR"(Usage: wifiticketer-cli routers

Lists the configured routers, one tab-separated line each, in list order:
Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin.
No router is contacted.

Example:
  wifiticketer-cli routers | cut -f1,2
)"_s},
    {u"designs"_s, uR"(Usage: wifiticketer-cli designs

Lists the voucher designs' names, one a line: the names --design takes.

Example:
  wifiticketer-cli designs
)"_s},
    {u"profiles"_s, uR"(Usage: wifiticketer-cli [--router NAME] profiles

Logs in as the login window does (program user, then the router's information,
asking about the expiration script when it is missing) and lists the sellable
profiles, tab-separated: HS|UM, Title, Validity, ValidityDisplay, Price
(hundredths), PriceText, Design.

Example:
  printf '1234\n' | wifiticketer-cli --operator caixa --operator-password-stdin --no profiles
)"_s},
    {u"upload-script"_s, uR"(Usage: wifiticketer-cli [--router NAME] upload-script [--interval DURATION]

Uploads the expiration script and its scheduler entry to the router, replacing
what is there.

Options:
  --interval DURATION        how often the router runs the script, for this upload
                             only (10m, 1h, 00:15:00; default the configured interval)

Example:
  wifiticketer-cli --router Loja upload-script --interval 10m
)"_s},
    {u"remove"_s, uR"(Usage: wifiticketer-cli [--router NAME] remove --user NAME [--usermanager]

Removes a user from the router and marks that user's vouchers of the router
removed in the history, as the history page does.

Options:
  --user NAME                the router user to remove (required)
  --usermanager              a User Manager user instead of a hotspot user

Example:
  wifiticketer-cli --router Loja remove --user usr4821
)"_s},
    {u"generate"_s,
     uR"(Usage: wifiticketer-cli [--router NAME] generate --profile TITLE (--count N | --name USER)
                        [--format text|json] [--pdf FILE] [--print] [--printer NAME] [--design NAME]

Logs in, makes the vouchers on the router, records them in the history and the
sales history, and lists them: UserName, Password, Serial, Created, Expires, HS|UM.
The output (--pdf, --printer) is checked before anything is made on the router.
On a terminal it shows "n/N" on standard error; Ctrl+C starts no further voucher
and ends once the ones under way are made (what was made is listed and recorded;
exit 1).

Options:
  --profile TITLE            the profile's title (exact, else ignoring case; required)
  --count N                  make N vouchers with invented names; above 10000 it
                             asks first (answer with --yes)
  --name USER                make one voucher with this user name
  --format text|json         the listing's format (default text)
  --pdf FILE                 also lay the vouchers out in a PDF file, as printed
  --print                    also print them, without a dialog
  --printer NAME             the printer for --print (default: the design's, else
                             the default printer)
  --design NAME              the design to lay them out with (default: the profile's)

Example:
  printf '1234\n' | wifiticketer-cli --operator caixa --operator-password-stdin generate --profile "1 Hora" --count 10 --pdf vouchers.pdf
)"_s},
    {u"print-test"_s, uR"(Usage: wifiticketer-cli print-test --design NAME --pdf FILE

The design page's test print, one sheet of samples of the design, onto a PDF file.
No router is contacted.

Options:
  --design NAME              the design (see 'wifiticketer-cli designs'; required)
  --pdf FILE                 the PDF file to write (required)

Example:
  wifiticketer-cli print-test --design Padrão --pdf teste.pdf
)"_s},
    {u"history"_s,
     uR"(Usage: wifiticketer-cli history [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--generator NAME]
                       [--router-name NAME] [--format text|json|csv]
       wifiticketer-cli history --pending [--format text|json]

The history page's search: the recorded vouchers of those days in the page's
columns, then its totals line.

With --pending: the vouchers sent to a router whose confirmation never
arrived (the run was cut off), one a line: Serial, UserName, Profile, Created,
Router, Address:Port, and the configured router that settles them at its next
login (empty when no configured router is at that address and port); then how
many wait.

Options:
  --from YYYY-MM-DD          first day (default today)
  --to YYYY-MM-DD            last day (default today)
  --generator NAME           only the vouchers this program user made
  --router-name NAME         only the vouchers of this router
  --format text|json|csv     the output's format (default text)
  --pending                  the vouchers waiting for their router's confirmation

Example:
  wifiticketer-cli history --from 2026-01-01 --to 2026-01-31 --format csv > janeiro.csv
)"_s},
    {u"router"_s,
     uR"(Usage: wifiticketer-cli router add|set|remove NAME [--address A] [--port P] [--api-user U]
                      [--password-stdin] [--hotspot 0|1] [--usermanager 0|1]
                      [--mac-binding 0|1] [--usermanager-admin NAME]

Adds, changes or removes a configured router (Routers.bin) with the router
dialog's rules: a name and an address, an API port from 1 to 65535, texts of at
most 99 characters, without tabs or line breaks but for the password. add
refuses a name that exists; set and remove need one that does. A new router
starts as the router dialog starts one: port 8728, hotspot and User Manager
profiles on, MAC binding off. set changes only what is given.
Needs a program user allowed into the setup (--operator, and its password in
WIFITICKETER_OPERATOR_PASSWORD: standard input carries the API password).

Options:
  --address A                the router's IP address or host name
  --port P                   the API port (default 8728)
  --api-user U               the API user
  --password-stdin           read the API password from the first line of standard
                             input; without it, add asks on a terminal (without
                             echo) and set keeps the password. The password is never
                             taken from the command line, where others could read it.
  --hotspot 0|1              sell the router's hotspot profiles
  --usermanager 0|1          sell the router's User Manager profiles
  --mac-binding 0|1          bind User Manager users to their first MAC address
  --usermanager-admin NAME   the User Manager admin (empty: the router's first)

Examples:
  printf 'secret\n' | wifiticketer-cli router add Loja --address 192.168.88.1 --api-user api --password-stdin
  wifiticketer-cli router set Loja --port 8729 --usermanager 0
  wifiticketer-cli router remove Loja
)"_s},
    {u"hotspot-profile"_s,
     uR"(Usage: wifiticketer-cli hotspot-profile add|set|remove NAME [--validity D] [--uptime D]
                               [--router-profile P] [--server S] [--limit-in B]
                               [--limit-out B] [--limit-total B] [--price P]

Adds, changes or removes a hotspot voucher profile (HotSpotProfiles.bin) with the
profile editor's rules: a validity of more than nothing and at most 10 years, a
price of nothing or more with at most two decimals, texts of at most 99
characters without tabs or line breaks. add refuses a name that exists and needs
--validity and --router-profile; set and remove need a name that exists. set
changes only what is given. Needs a program user allowed into the setup.

Options:
  --validity D               how long a voucher lasts from its making (3h, 1d, 1w2d,
                             01:30:00)
  --uptime D                 the connection time a voucher allows (0: no limit)
  --router-profile P         the router's hotspot user profile
  --server S                 the hotspot server (empty: every server)
  --limit-in B               bytes in, sent to the router as written (empty: none)
  --limit-out B              bytes out, likewise
  --limit-total B            bytes in total, likewise
  --price P                  the price, with "," or "." before the cents (12,50;
                             1.234,50 with thousands; 1,234 is refused as unclear)

Examples:
  wifiticketer-cli hotspot-profile add "3 horas" --validity 3h --router-profile default --price 3,00
  wifiticketer-cli hotspot-profile set "3 horas" --price 3.50 --uptime 2h
  wifiticketer-cli hotspot-profile remove "3 horas"
)"_s},
};

} // namespace

QString cliUsage()
{
    return uR"(Usage: wifiticketer-cli [options] COMMAND [command options]
       wifiticketer-cli COMMAND --help      that command's own help, with an example

Commands:
  routers                    one line per configured router, tab-separated:
                             Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin
  router add|set|remove NAME [--address A] [--port P] [--api-user U] [--password-stdin]
         [--hotspot 0|1] [--usermanager 0|1] [--mac-binding 0|1] [--usermanager-admin NAME]
                             edits the configured routers with the router dialog's rules; the API
                             password comes from standard input (or a terminal), never an option
  hotspot-profile add|set|remove NAME [--validity D] [--uptime D] [--router-profile P]
         [--server S] [--limit-in B] [--limit-out B] [--limit-total B] [--price P]
                             edits the hotspot voucher profiles with the profile editor's rules
  designs                    the voucher designs' names, one a line
  profiles                   logs in and lists the sellable profiles, tab-separated:
                             HS|UM, Title, Validity, ValidityDisplay, Price, PriceText, Design
  upload-script [--interval DURATION]
                             uploads the expiration script and its scheduler entry to the router
  remove --user NAME [--usermanager]
                             removes a hotspot user (or a User Manager user) from the router
  generate --profile TITLE (--count N | --name USER) [--format text|json]
           [--pdf FILE] [--print] [--printer NAME] [--design NAME]
                             logs in, creates the vouchers on the router, records them and lists
                             them: UserName, Password, Serial, Created, Expires, HS|UM; --pdf and
                             --print lay them out with the profile's design (or --design) as the
                             print job does, onto a PDF file or the printer (--printer, else the
                             design's, else the default one); on a terminal it shows "n/N" on
                             standard error, and Ctrl+C stops it once the vouchers under way
                             are made
  print-test --design NAME --pdf FILE
                             one sheet of samples of the design, onto a PDF file
  history [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--generator NAME] [--router-name NAME]
          [--format text|json|csv] [--pending]
                             the vouchers recorded in those days (default today), then the totals;
                             --pending: those waiting for their router's confirmation

)"_s + CommonOptions +
           uR"(
Exit codes: 0 done, 1 failed or cancelled, 2 usage error.
)"_s;
}

QString commandUsage(const QString &command)
{
    const auto help = CommandHelp.constFind(command);
    if (help == CommandHelp.cend())
        return QString();
    return *help + u'\n' + CommonOptions;
}
