#!/usr/bin/env python3
"""The windows program end to end, driven the way a screen reader sees it.

Usage: login_and_generate.py WIFITICKETER WIFITICKETER-ROUTERSIM WIFITICKETER-CLI

The program runs on a private X server with a private D-Bus session and its
accessibility bus; the test re-executes itself inside xvfb-run and
dbus-run-session when it is not already there. Against the router simulator, in
a throwaway (empty) settings file and data folder, the program starts as a new
installation: the setup opens by itself, the router it knows from nothing is
deleted, the simulator is added (checked with "Testar Conexão") and the setup
confirmed. It then logs in with the login window's empty user and password,
makes three vouchers of the first profile in the generator window, and checks
from outside that the router holds exactly those three users and that the
command line's history lists the same three.
Then "Modo P&OS" opens the counter window, where a touch on the same profile
opens the keypad, "2" and "Imprimir" sell two vouchers (the print dialog is
cancelled, and the window says the vouchers were not printed), the sale shows
in the list, in the total, on the router and in the history. The program ends
there and starts again: after the login the counter window opens at once with
the sale still listed, and "Modo Normal" brings the generator window back; a
second start of the program hands over to the running one.
"Sair" then leads back to the login window, whose "Configuração" opens the
setup for the default user. On "Configuração de Voucher" (design "Padrão") the
first "Texto" row of the grid "Lista de Textos" gets a new text: Tab into the
grid, Down onto the row, which opens its editor, the editor's text set and
Enter. With WIFITICKETER_TEST_PRINT_QUEUE and WIFITICKETER_TEST_PRINT_OUTPUT
set (scripts/run-tests.sh sets them), "Impressora Disponível" is set to that
CUPS PDF queue and "Teste de Impressão" must leave a new PDF there whose text
(pdftotext) holds the new text; without them that part is skipped, and the log
says so. On "Histórico de Voucher", "Iniciar Pesquisa" must list today's
vouchers as the command line's history and the router do; the first row is
selected, the menu key opens its context menu, "Excluir do roteador" is chosen
there with Down and Enter and the question "Deseja excluir este usuário?"
answered "Sim": the router no longer holds that user and the command line's
history marks its row removed (and only that one). "Ok" saves the setup, and
the command line's "print-test" of "Padrão" prints the new text from the saved
Voucher.bin. The program ends at the login window.
Every control is found through AT-SPI by the text the window shows or, for a
combo box (named by its current text), by its label. Keys (Tab, Down, Enter,
the menu key) go through XTest where AT-SPI offers no action: item views and
combo boxes refuse AT-SPI's focus request, an item view opens its editor only
when a row becomes current, and a popup menu's items act only when chosen
with the keyboard. The editor and the popup menu are not among the accessible
children of their view and of the application; they are found through the
focus and "showing" events, as a screen reader finds them.

Exit status 0 when everything held, 1 with a message (and a dump of the
accessible tree when a control was not found) otherwise.
"""

import datetime
import importlib.util
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

INNER_MARK = "WIFITICKETER_E2E_INNER"
VOUCHER_COUNT = 3
# The whole run inside the wrappers; ctest's own limit is above it.
OVERALL_TIMEOUT_S = 100
STEP_TIMEOUT_S = 20
# A control of a window that is already there.
CONTROL_TIMEOUT_S = 5
# What a list with columns (a tree or table view) is to AT-SPI.
LIST_ROLES = ("tree", "tree table", "table", "list")

# AT-SPI states and relations, known once pyatspi is imported inside the session.
STATE_SHOWING = STATE_SENSITIVE = STATE_CHECKED = STATE_FOCUSED = LABEL_FOR = None

BUS_LAUNCHERS = (
    "/usr/libexec/at-spi-bus-launcher",
    "/usr/lib/at-spi2-core/at-spi-bus-launcher",
    "/usr/lib/at-spi2/at-spi-bus-launcher",
)


class Failure(Exception):
    """What went wrong, in words for whoever reads the test log."""


def log(text):
    print(f"e2e: {text}", file=sys.stderr, flush=True)


# --------------------------------------------------------------------------
# Outside the wrappers: find an interpreter with pyatspi, start X and D-Bus.

def interpreter_with_pyatspi():
    if importlib.util.find_spec("pyatspi") is not None:
        return sys.executable
    # A Python of its own (pyenv, venv) ahead of the system one on PATH does not
    # see Debian's python3-pyatspi.
    for candidate in ("/usr/bin/python3", "/bin/python3"):
        if os.path.exists(candidate) and os.path.realpath(candidate) != os.path.realpath(sys.executable):
            probe = subprocess.run([candidate, "-c", "import importlib.util, sys; "
                                    "sys.exit(importlib.util.find_spec('pyatspi') is None)"])
            if probe.returncode == 0:
                return candidate
    return None


def run_wrapped(arguments):
    for tool, package in (("xvfb-run", "xvfb"), ("dbus-run-session", "dbus"), ("pdftotext", "poppler-utils")):
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is not installed (Debian package {package})")
    python = interpreter_with_pyatspi()
    if python is None:
        raise Failure("no Python interpreter can import pyatspi (Debian package python3-pyatspi)")
    # The search for a free display starts away from the usual :99, which other
    # xvfb-run users on this machine may be taking at the same moment.
    first_display = 200 + os.getpid() % 500
    # -noreset: by default the server resets whenever its last client leaves
    # (the accessibility libraries look at it for a moment), and a program
    # that connects during the reset is refused and ends at once.
    command = ["xvfb-run", "-a", "-n", str(first_display), "-s", "-screen 0 1280x1024x24 -noreset",
               "dbus-run-session", "--", python, os.path.abspath(__file__)] + arguments
    env = dict(os.environ)
    env[INNER_MARK] = "1"
    # Whatever the surrounding tests chose, this one needs the X server.
    env.pop("QT_QPA_PLATFORM", None)
    process = subprocess.Popen(command, env=env, start_new_session=True)
    try:
        return process.wait(timeout=OVERALL_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise Failure(f"the test did not finish within {OVERALL_TIMEOUT_S} s")
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


# --------------------------------------------------------------------------
# Child processes, each torn down at the end.

class Processes:
    def __init__(self):
        self.started = []  # (name, Popen), in start order

    def start(self, name, command, **kwargs):
        process = subprocess.Popen(command, **kwargs)
        self.started.append((name, process))
        return process

    def stop_all(self):
        for name, process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    log(f"{name} did not end on SIGTERM; killed")
                    process.kill()
                    process.wait()


def wait_for(what, condition, timeout=STEP_TIMEOUT_S, interval=0.1):
    """Polls condition() until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def read_listening_port(process, output, timeout=10):
    """The port from the simulator's first line, "listening on 127.0.0.1:PORT"."""
    prefix = "listening on 127.0.0.1:"

    def first_line():
        if process.poll() is not None:
            raise Failure(f"the router simulator exited with {process.returncode}")
        with open(output, encoding="utf-8", errors="replace") as file:
            line = file.readline()
        return line if line.endswith("\n") else None

    line = wait_for("the router simulator to listen", first_line, timeout=timeout).strip()
    if not line.startswith(prefix) or not line[len(prefix):].isdigit():
        raise Failure(f"the router simulator said {line!r} instead of {prefix}PORT")
    return int(line[len(prefix):])


def start_accessibility_bus(processes, folder):
    launcher = next((path for path in BUS_LAUNCHERS if os.access(path, os.X_OK)), None)
    if launcher is None:
        raise Failure("at-spi-bus-launcher not found (Debian package at-spi2-core)")
    processes.start("at-spi-bus-launcher", [launcher, "--launch-immediately"],
                    stdout=subprocess.DEVNULL, stderr=open(os.path.join(folder, "atspi.err"), "wb"))
    from gi.repository import Gio, GLib  # noqa: E402 (only inside the session)
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def owned():
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)),
                              GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, 1000, None)
        return reply.unpack()[0]

    wait_for("the accessibility bus (org.a11y.Bus)", owned, timeout=10)


# --------------------------------------------------------------------------
# The accessible tree.

def role_of(node):
    try:
        return node.getRoleName()
    except Exception:  # a node that went away while being looked at
        return "?"


def name_of(node):
    try:
        return node.name or ""
    except Exception:
        return ""


def children_of(node):
    try:
        count = node.childCount
    except Exception:
        return []
    result = []
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            result.append(child)
    return result


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except Exception:
        return False


def dump(node, depth=0, max_depth=5, out=None):
    out = [] if out is None else out
    notes = " (not showing)" if depth > 0 and not has_state(node, STATE_SHOWING) else ""
    out.append(f"{'  ' * depth}[{role_of(node)}] {name_of(node)!r}{notes}")
    if depth < max_depth:
        for child in children_of(node)[:60]:
            dump(child, depth + 1, max_depth, out)
    return out


def find(root, predicate, max_depth=8):
    """The first node under root (breadth first) for which predicate holds."""
    level = [root]
    for _ in range(max_depth + 1):
        following = []
        for node in level:
            if predicate(node):
                return node
            following.extend(children_of(node))
        level = following
    return None


def find_all(root, predicate, max_depth=8):
    found, level = [], [root]
    for _ in range(max_depth + 1):
        following = []
        for node in level:
            if predicate(node):
                found.append(node)
            following.extend(children_of(node))
        level = following
    return found


def named(name, *roles):
    return lambda node: name_of(node) == name and (not roles or role_of(node) in roles)


def require(root, what, predicate, timeout=CONTROL_TIMEOUT_S):
    """The node, waited for; a failure names it and shows what is there instead."""
    try:
        return wait_for(what, lambda: find(root, predicate), timeout=timeout)
    except Failure:
        raise Failure(f"{what} not found; the accessible tree:\n" + "\n".join(dump(root)))


def press(node, what):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    for wanted in ("press", "click", "toggle"):
        if wanted in names:
            if not action.doAction(names.index(wanted)):
                raise Failure(f"{what}: the action \"{wanted}\" was refused")
            return
    raise Failure(f"{what} has no press action (actions: {names})")


def set_text(node, text, what):
    if not node.queryEditableText().setTextContents(text):
        raise Failure(f"{what}: setting its text was refused")
    wait_for(f"{what} to hold {text!r}", lambda: node.queryText().getText(0, -1) == text, timeout=5)


def same_node(a, b):
    try:
        return a.path == b.path and a.get_process_id() == b.get_process_id()
    except Exception:
        return False


def describe_window(window):
    texts = [name_of(node) for node in find_all(window, lambda n: role_of(n) in ("label", "push button"), 4)]
    return f"[{role_of(window)}] {name_of(window)!r}: {texts}"


def progress_window(window):
    return find(window, lambda n: role_of(n) == "progress bar", 3) is not None


def other_windows(application, known):
    """The showing windows besides the known ones: message boxes and the like."""
    return [child for child in children_of(application)
            if has_state(child, STATE_SHOWING) and not any(same_node(child, k) for k in known)]


# --------------------------------------------------------------------------
# Outside views: the router simulator's state and the command line's history.

def router_state(path):
    with open(path, encoding="utf-8") as file:
        return json.load(file)


def router_commands(path):
    """The command word of every sentence the simulator received, or None without a log."""
    if not os.path.exists(path):
        return None
    commands = []
    with open(path, encoding="utf-8", errors="replace") as file:
        for line in file:
            try:
                words = json.loads(line).get("words") or [""]
            except ValueError:
                continue
            commands.append(words[0] if isinstance(words[0], str) else "(binary)")
    return commands


def history_rows(cli, env):
    today = datetime.date.today()
    command = [cli, "history", "--format", "json",
               "--from", (today - datetime.timedelta(days=1)).isoformat(),
               "--to", (today + datetime.timedelta(days=1)).isoformat()]
    result = subprocess.run(command, env=env, capture_output=True, timeout=30)
    if result.returncode != 0:
        raise Failure(f"wifiticketer-cli history exited {result.returncode}: "
                      f"{result.stderr.decode(errors='replace').strip()}")
    return json.loads(result.stdout)["rows"]


# --------------------------------------------------------------------------
# The counter window.

POS_COUNT = 2


def showing_window_with(application, predicate):
    """The showing window of the application that holds a node for which predicate holds."""
    for window in children_of(application):
        if has_state(window, STATE_SHOWING) and find(window, predicate, 6) is not None:
            return window
    return None


def cents(text):
    """The last amount of money in a text ("2x 1dia 10,00 €", "R$ 1.234,50"), in cents."""
    numbers = re.findall(r"\d(?:[\d.,]*\d)?", text)
    return int(re.sub(r"\D", "", numbers[-1])) if numbers else None


def total_of(counter):
    """The total under the sales list, in cents: the one label that is an amount and nothing else."""
    # The router line "Ligado ao router NAME (ADDRESS)" holds one number too.
    amounts = [name_of(n) for n in find_all(counter, lambda n: role_of(n) == "label", 3)
               if re.fullmatch(r"\D*\d(?:[\d.,]*\d)?\D*", name_of(n))
               and not name_of(n).startswith("Ligado ao router")]
    if len(amounts) != 1:
        raise Failure(f"no single total among the labels {amounts}")
    return cents(amounts[0])


def sale_row(profile):
    return lambda n: role_of(n) == "label" and name_of(n).startswith(f"{POS_COUNT}x {profile} ")


def sell_at_the_counter(application, counter, profile, price, state_file, cli, env, made_before, rows_before):
    """A sale of two vouchers of the profile on the keypad, checked in the window and from outside."""
    total_before = total_of(counter)
    # The profile's button reads "<title> (<price>)".
    button = require(counter, f"the button of the profile {profile!r}",
                     lambda n: role_of(n) == "push button" and name_of(n).startswith(profile + " ("))
    press(button, "the profile's button")
    keypad = wait_for("the keypad", lambda: showing_window_with(application, named("Imprimir", "push button")))
    if same_node(keypad, counter):
        raise Failure("the keypad's keys are in the counter window, not in a keypad window of its own")
    display = require(keypad, "the keypad's display \"1\"", named("1", "label"))
    press(require(keypad, "the key \"2\"", named("2", "push button")), "the key \"2\"")
    wait_for("the keypad's display to read \"2\"", lambda: name_of(display) == "2")
    press(require(keypad, "the key \"Imprimir\"", named("Imprimir", "push button")), "the key \"Imprimir\"")

    # No printer is set up here: the print dialog is cancelled, and the
    # counter says the vouchers were made but not printed.
    cancel = ("Cancel", "Cancelar")
    dialog = wait_for("the print dialog", lambda: showing_window_with(
        application, lambda n: role_of(n) == "push button" and name_of(n) in cancel))
    press(find(dialog, lambda n: role_of(n) == "push button" and name_of(n) in cancel, 6), "the print dialog's Cancel")
    warning = wait_for("the warning that nothing was printed", lambda: showing_window_with(
        application, lambda n: name_of(n).startswith("Os vouchers desta venda não foram impressos")))
    press(require(warning, "the message's OK", named("OK", "push button")), "the message's OK")

    # The sale in the list and in the total, at the router's price.
    amount = POS_COUNT * price
    row = require(counter, f"the sale \"{POS_COUNT}x {profile} ...\"", sale_row(profile), timeout=STEP_TIMEOUT_S)
    if cents(name_of(row)) != amount:
        raise Failure(f"the sale reads {name_of(row)!r}; {POS_COUNT} vouchers at {price} cents make {amount}")
    wait_for(f"the total to rise from {total_before} by {amount} cents",
             lambda: total_of(counter) == total_before + amount)

    # From outside: two new users of the profile on the router, and in the history.
    users = {u["name"]: u for u in router_state(state_file)["userManagerUsers"]}
    sold = set(users) - made_before
    if len(sold) != POS_COUNT or not made_before <= set(users):
        raise Failure(f"after the sale the router holds {sorted(users)}; before it {sorted(made_before)}")
    wrong_profile = [name for name in sold if users[name].get("actual-profile") != profile]
    if wrong_profile:
        raise Failure(f"users sold at the counter not on the profile {profile!r}: {wrong_profile}")
    rows = history_rows(cli, env)
    recorded = {row["user"]: row for row in rows}
    if len(rows) != rows_before + POS_COUNT or not sold <= set(recorded):
        raise Failure(f"the history lists {[row['user'] for row in rows]} after selling {sorted(sold)}")
    for name in sold:
        if recorded[name]["password"] != users[name]["password"] or recorded[name]["profile"] != profile:
            raise Failure(f"history row {recorded[name]} does not match the router's user {users[name]}")
    log(f"sold {sorted(sold)} at the counter")
    # Until the sale is over the window takes no touch; it says so.
    busy = ("Gerando", "Imprimindo")
    wait_for("the counter to be idle again", lambda: find(
        counter, lambda n: role_of(n) == "label" and name_of(n).startswith(busy), 3) is None)


def window_named(application, title):
    """The showing window of the application with that title."""
    return next((w for w in children_of(application)
                 if name_of(w) == title and has_state(w, STATE_SHOWING)), None)


def field(window, label, what):
    """A text field found by the label beside it ("IP do router:" names the field)."""
    return require(window, what, lambda n: role_of(n) in ("text", "entry", "password text")
                   and name_of(n).rstrip(":") == label)


def answer_message(application, text_start, button):
    """Presses a button of the message box whose text starts so."""
    box = wait_for(f"the message \"{text_start}...\"", lambda: showing_window_with(
        application, lambda n: name_of(n).startswith(text_start)))
    press(require(box, f"the message's \"{button}\"", named(button, "push button")), f"the message's {button}")


# --------------------------------------------------------------------------
# The keyboard, for what AT-SPI alone cannot do: keys go through XTest to the
# window that has the X focus, as the keys of a screen reader user would.

KEY_TAB, KEY_DOWN, KEY_RETURN, KEY_MENU = 0xFF09, 0xFF54, 0xFF0D, 0xFF67


def key(keysym):
    import pyatspi  # noqa: E402 (only inside the session)
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


class BusEvents:
    """What the program reports as gaining the focus or showing, in order.

    Some things are never among their parents' accessible children: an item
    view's open editor, and a popup menu (the application lists no popups). A
    screen reader learns of them from these events alone, and so does the test.
    """

    KINDS = ("object:state-changed:focused", "object:state-changed:showing")

    def __init__(self):
        import pyatspi  # noqa: E402
        from gi.repository import GLib  # noqa: E402
        self._registry = pyatspi.Registry
        self._context = GLib.MainContext.default()
        self.seen = []  # (kind, node)
        self._registry.registerEventListener(self._on_event, *self.KINDS)

    def _on_event(self, event):
        if event.detail1 == 1:
            self.seen.append((event.type, event.source))

    def close(self):
        self._registry.deregisterEventListener(self._on_event, *self.KINDS)

    def mark(self):
        """Where the events so far end, for wait_for's since."""
        while self._context.iteration(False):
            pass
        return len(self.seen)

    def wait_for(self, what, kind, predicate, since=0, timeout=CONTROL_TIMEOUT_S):
        """The latest node reported (after the mark since) as gaining kind
        ("focused", "showing") for which predicate holds."""
        def arrived():
            while self._context.iteration(False):
                pass
            return next((node for seen_kind, node in reversed(self.seen[since:])
                         if seen_kind.endswith(":" + kind) and predicate(node)), None)

        return wait_for(what, arrived, timeout=timeout)


def labelled(window, label, what):
    """The control a label names (a combo box is named by its current text)."""
    def target():
        for node in find_all(window, named(label, "label")):
            try:
                relations = node.getRelationSet()
            except Exception:
                continue
            for relation in relations:
                if relation.getRelationType() == LABEL_FOR and relation.getNTargets() > 0:
                    return relation.getTarget(0)
        return None

    try:
        return wait_for(what, target, timeout=CONTROL_TIMEOUT_S)
    except Failure:
        raise Failure(f"{what} not found; the accessible tree:\n" + "\n".join(dump(window)))


def focus_by_tab(before, target, what):
    """Focuses target with Tab from the control before it in the tab order.

    Item views and combo boxes refuse AT-SPI's grabFocus; buttons take it.
    """
    if not before.queryComponent().grabFocus():
        raise Failure(f"{describe_node(before)} refused the focus on the way to {what}")
    wait_for(f"{describe_node(before)} to have the focus", lambda: has_state(before, STATE_FOCUSED))
    key(KEY_TAB)
    try:
        wait_for(f"{what} to have the focus after Tab", lambda: has_state(target, STATE_FOCUSED))
    except Failure as failure:
        raise Failure(f"{failure} (the tab order changed?)")


def describe_node(node):
    return f"the {role_of(node)} {name_of(node)!r}"


def first_setup(application, port):
    """A new installation opens the setup by itself: the router it knows from
    nothing is replaced by the simulator, tested, and the setup confirmed."""
    setup = wait_for("the setup window to open by itself",
                     lambda: window_named(application, "Configuração do wifiTicketer"), timeout=10)
    log("setup opened on the first start")
    press(require(setup, "the tab \"Routers\"", named("Routers", "page tab")), "the tab \"Routers\"")
    routers = require(setup, "the list \"Routers\"", named("Routers", *LIST_ROLES))
    group = require(setup, "the group \"Routers\"", lambda n: name_of(n) == "Routers" and role_of(n) in
                    ("panel", "grouping", "filler"))
    table = routers.queryTable()
    wait_for("the router of a new installation", lambda: table.nRows == 1)
    if not table.addRowSelection(0):
        raise Failure("the list \"Routers\" refused to select its row")
    press(require(group, "the routers' \"Apagar\"", named("Apagar", "push button")), "the routers' Apagar")
    answer_message(application, "Você deseja apagar o router selecionado?", "Sim")
    wait_for("the router list to be empty", lambda: table.nRows == 0)

    press(require(group, "the routers' \"Adicionar\"", named("Adicionar", "push button")), "the routers' Adicionar")
    dialog = wait_for("the router dialog", lambda: window_named(application, "Configuração do roteador"))
    for label, text in (("Nome router", "Simulador"), ("IP do router", "127.0.0.1"),
                        ("Porta API", str(port)), ("Usuário API", "admin")):
        set_text(field(dialog, label, f"the field \"{label}:\""), text, f"the field \"{label}:\"")
    press(require(dialog, "\"Testar Conexão\"", named("Testar Conexão", "push button")), "Testar Conexão")
    answer_message(application, "Conectado ao roteador com sucesso!", "OK")
    press(require(dialog, "the router dialog's \"Ok\"", named("Ok", "push button")), "the router dialog's Ok")
    wait_for("the new router in the list", lambda: table.nRows == 1 and
             name_of(table.getAccessibleAt(0, 0)) == "Simulador")
    press(require(setup, "the setup's \"Ok\"", named("Ok", "push button")), "the setup's Ok")
    wait_for("the setup to close", lambda: window_named(application, "Configuração do wifiTicketer") is None)
    login = require(application, "the window \"wifiTicketer login\"", named("wifiTicketer login"))
    require(login, "the router \"Simulador\" chosen in the login window",
            lambda n: name_of(n) == "Simulador")
    log("setup confirmed with the simulator as the router")


# --------------------------------------------------------------------------
# The setup again, from the login window: a design text, the printer and a
# test print, and a voucher taken off the router from the history page.

def print_setting():
    """The PDF queue and its output folder, or None when the run has none."""
    queue = os.environ.get("WIFITICKETER_TEST_PRINT_QUEUE", "")
    output = os.environ.get("WIFITICKETER_TEST_PRINT_OUTPUT", "")
    if not queue and not output:
        return None
    if not queue or not output:
        raise Failure("WIFITICKETER_TEST_PRINT_QUEUE and WIFITICKETER_TEST_PRINT_OUTPUT go together; "
                      f"got queue {queue!r} and output {output!r}")
    if not os.path.isdir(output):
        raise Failure(f"the print output folder {output} does not exist (scripts/start-cups.sh)")
    return queue, output


def pdf_text(path):
    """The text of a PDF; None while it cannot be read (still being written)."""
    result = subprocess.run(["pdftotext", "-q", path, "-"], capture_output=True, timeout=30)
    return result.stdout.decode(errors="replace") if result.returncode == 0 else None


def edit_first_text(setup, events, text):
    """Sets the design's first "Texto" row to text, the way the keyboard does:
    Tab into the grid, Down onto the row (which opens its editor), the editor's
    text set, Enter."""
    press(require(setup, "the tab \"Configuração de Voucher\"", named("Configuração de Voucher", "page tab")),
          "the tab \"Configuração de Voucher\"")
    design = labelled(setup, "Definição de Voucher", "the combo box \"Definição de Voucher\"")
    if name_of(design) != "Padrão":
        raise Failure(f"the design page opens on the design {name_of(design)!r}, not \"Padrão\"")
    grid = require(setup, "the grid \"Lista de Textos\"", named("Lista de Textos", *LIST_ROLES))
    table = grid.queryTable()
    wait_for("the texts of the design", lambda: table.nRows > 1)
    cells = [[name_of(table.getAccessibleAt(row, column)) for column in (0, 1)] for row in (0, 1)]
    if cells[0][0] != "Definição de Texto" or cells[1][0] != "Texto":
        raise Failure(f"the grid \"Lista de Textos\" begins with the rows {cells}, "
                      "not a group \"Definição de Texto\" and its \"Texto\"")
    before = cells[1][1]
    if before == text:
        raise Failure(f"the first text already reads {text!r}: the change would prove nothing")
    # Tab from the button before the grid: the grid has no current row yet, so
    # it takes its first row (the group), and Down goes to "Texto".
    focus_by_tab(require(setup, "the button \"Add Gráfico ...\"", named("Add Gráfico ...", "push button")),
                 grid, "the grid \"Lista de Textos\"")
    since = events.mark()
    key(KEY_DOWN)
    editor = events.wait_for("the editor of the row \"Texto\" (a focused text named \"Texto\")", "focused",
                             lambda n: role_of(n) == "text" and name_of(n) == "Texto", since=since)
    if editor.queryText().getText(0, -1) != before:
        raise Failure(f"the editor of \"Texto\" holds {editor.queryText().getText(0, -1)!r}, the row {before!r}")
    set_text(editor, text, "the editor of \"Texto\"")
    key(KEY_RETURN)
    wait_for(f"the row \"Texto\" to read {text!r} after Enter",
             lambda: name_of(table.getAccessibleAt(1, 1)) == text)
    log(f"the design's first text changed from {before!r} to {text!r}")


def choose_printer_and_test(application, setup, known_windows, queue, output, text):
    """Picks the queue in "Impressora Disponível" (Tab in, Down until it shows)
    and waits for the test print's PDF with the changed text."""
    combo = labelled(setup, "Impressora Disponível", "the combo box \"Impressora Disponível\"")
    offered = [name_of(item) for item in find_all(combo, lambda n: role_of(n) == "list item", 3)]
    if queue not in offered:
        raise Failure(f"\"Impressora Disponível\" offers {offered}, not the queue {queue!r}")
    focus_by_tab(require(setup, "the button \"Compartilhar\"", named("Compartilhar", "push button")),
                 combo, "the combo box \"Impressora Disponível\"")
    for _ in offered:
        if name_of(combo) == queue:
            break
        shown = name_of(combo)
        key(KEY_DOWN)
        wait_for("the printer choice to move on", lambda: name_of(combo) != shown)
    if name_of(combo) != queue:
        raise Failure(f"Down never reached {queue!r} in \"Impressora Disponível\" (it shows {name_of(combo)!r})")

    before = set(os.listdir(output))
    press(require(setup, "the button \"Teste de Impressão\"", named("Teste de Impressão", "push button")),
          "the button \"Teste de Impressão\"")

    def printed():
        strangers = other_windows(application, known_windows)
        if strangers:
            raise Failure("a window came up during the test print: " + "; ".join(map(describe_window, strangers)))
        for name in sorted(set(os.listdir(output)) - before):
            if name.endswith(".pdf"):
                found = pdf_text(os.path.join(output, name))
                if found is not None and text in found:
                    return name
        return None

    name = wait_for(f"a new PDF in {output} with {text!r}", printed)
    log(f"test print on {queue}: {name}")


def remove_from_history(application, setup, known_windows, events, state_file, cli, env):
    """Lists today's vouchers on the history page, takes the first one off the
    router through the list's context menu, and checks the router and the
    history from outside."""
    rows = history_rows(cli, env)
    users = {u["name"] for u in router_state(state_file)["userManagerUsers"]}
    if any(row["removed"] for row in rows) or {row["user"] for row in rows} != users:
        raise Failure(f"before the removal the history lists {[(r['user'], r['removed']) for r in rows]}, "
                      f"the router holds {sorted(users)}")

    press(require(setup, "the tab \"Histórico de Voucher\"", named("Histórico de Voucher", "page tab")),
          "the tab \"Histórico de Voucher\"")
    press(require(setup, "the button \"Iniciar Pesquisa\"", named("Iniciar Pesquisa", "push button")),
          "the button \"Iniciar Pesquisa\"")
    results = require(setup, "the list \"Resultados\"", named("Resultados", *LIST_ROLES))
    table = results.queryTable()
    wait_for(f"{len(rows)} vouchers in \"Resultados\"", lambda: table.nRows == len(rows))
    listed = [name_of(table.getAccessibleAt(row, 0)) for row in range(table.nRows)]
    if sorted(listed) != sorted(row["user"] for row in rows):
        raise Failure(f"\"Resultados\" lists {listed}, the command line's history {[r['user'] for r in rows]}")
    victim = listed[0]

    if not table.addRowSelection(0):
        raise Failure("the list \"Resultados\" refused to select its first row")
    wait_for("the first row of \"Resultados\" to be selected", lambda: table.isRowSelected(0))
    focus_by_tab(require(setup, "the button \"Exportar CSV\"", named("Exportar CSV", "push button")),
                 results, "the list \"Resultados\"")
    # The menu key opens the context menu at the selected row.
    since = events.mark()
    key(KEY_MENU)
    menu = events.wait_for("the context menu of \"Resultados\" (a popup menu shown)", "showing",
                           lambda n: role_of(n) in ("popup menu", "menu"), since=since)
    items = [name_of(n) for n in children_of(menu) if role_of(n) == "menu item"]
    if "Excluir do roteador" not in items:
        raise Failure(f"the context menu of \"Resultados\" offers {items}, not \"Excluir do roteador\"")
    # The item is chosen with the keyboard: its AT-SPI action "Press" triggers
    # it without closing the menu, and the page acts on the item the menu
    # closes with, so "Press" leaves the menu open and removes nothing.
    for _ in items:
        since = events.mark()
        key(KEY_DOWN)
        current = events.wait_for("a menu item to take the focus after Down", "focused",
                                  lambda n: role_of(n) == "menu item", since=since)
        if name_of(current) == "Excluir do roteador":
            break
    else:
        raise Failure(f"Down never reached \"Excluir do roteador\" among {items}")
    key(KEY_RETURN)
    answer_message(application, "Deseja excluir este usuário?", "Sim")

    # From outside: the user is gone from the router, the others stay; the
    # history keeps the row, marked removed.
    wait_for(f"{victim!r} to leave the router", lambda: victim not in
             {u["name"] for u in router_state(state_file)["userManagerUsers"]})
    left = {u["name"] for u in router_state(state_file)["userManagerUsers"]}
    if left != users - {victim}:
        raise Failure(f"after removing {victim!r} the router holds {sorted(left)}; before it {sorted(users)}")
    after = history_rows(cli, env)
    marks = {row["user"]: row["removed"] for row in after}
    if len(after) != len(rows) or marks != {row["user"]: row["user"] == victim for row in rows}:
        raise Failure(f"after removing {victim!r} the history lists {sorted(marks.items())}")
    strangers = other_windows(application, known_windows)
    if strangers:
        raise Failure("a window came up after the removal: " + "; ".join(map(describe_window, strangers)))
    log(f"removed {victim!r} from the router through the history page")


def setup_from_login(application, login, state_file, cli, env, text):
    """"Configuração" at the login window: the design text, the printer and its
    test print (when the run has a PDF queue), a removal on the history page,
    then "Ok"."""
    press(require(login, "the button \"Configuração\"", named("Configuração", "push button")),
          "the button \"Configuração\"")
    setup = wait_for("the setup window", lambda: window_named(application, "Configuração do wifiTicketer"))
    log("setup opened from the login window")
    events = BusEvents()
    try:
        edit_first_text(setup, events, text)
        printing = print_setting()
        if printing is None:
            log("WIFITICKETER_TEST_PRINT_QUEUE and WIFITICKETER_TEST_PRINT_OUTPUT are not set: "
                "the printer choice and \"Teste de Impressão\" are skipped")
        else:
            choose_printer_and_test(application, setup, [setup, login], *printing, text)
        remove_from_history(application, setup, [setup, login], events, state_file, cli, env)
    finally:
        events.close()
    press(require(setup, "the setup's \"Ok\"", named("Ok", "push button")), "the setup's Ok")

    def closed():
        strangers = other_windows(application, [setup, login])
        if strangers:
            raise Failure("a window came up on the setup's Ok: " + "; ".join(map(describe_window, strangers)))
        return window_named(application, "Configuração do wifiTicketer") is None

    wait_for("the setup to close", closed)
    require(application, "the window \"wifiTicketer login\" after the setup", named("wifiTicketer login"))
    return printing


def check_saved_design(cli, env, folder, text):
    """The saved design, as the command line prints it from Voucher.bin."""
    sample = os.path.join(folder, "saved-design.pdf")
    result = subprocess.run([cli, "print-test", "--design", "Padrão", "--pdf", sample],
                            env=env, capture_output=True, timeout=30)
    if result.returncode != 0:
        raise Failure(f"wifiticketer-cli print-test exited {result.returncode}: "
                      f"{result.stderr.decode(errors='replace').strip()}")
    found = pdf_text(sample)
    if found is None or text not in found:
        raise Failure(f"the design \"Padrão\" in Voucher.bin does not print {text!r}; its sample reads {found!r}")
    log("Voucher.bin holds the changed text")


def log_in(application, app):
    """Logs in with the empty user and password; the main window that takes the login window's place."""
    login = require(application, "the window \"wifiTicketer login\"", named("wifiTicketer login"), timeout=10)
    user = require(login, "the edit \"Usuário\"", named("Usuário", "text", "entry"))
    password = require(login, "the edit \"Senha\"", named("Senha", "password text"))
    set_text(user, "", "the edit \"Usuário\"")
    set_text(password, "", "the edit \"Senha\"")
    press(require(login, "the button \"Login\"", named("Login", "push button")), "the button \"Login\"")

    def main_window():
        if app.poll() is not None:
            raise Failure(f"wifiticketer exited with {app.returncode} after the login")
        windows = children_of(application)
        main = next((w for w in windows if name_of(w).startswith("wifiTicketer - ")), None)
        login_there = any(same_node(w, login) and has_state(w, STATE_SHOWING) for w in windows)
        if main is not None and has_state(main, STATE_SHOWING) and not login_there:
            return main
        strangers = [w for w in other_windows(application, [login] + ([main] if main else []))
                     if not name_of(w).startswith("wifiTicketer - ")]
        if strangers:
            raise Failure("a window came up after the login: " + "; ".join(map(describe_window, strangers)))
        return None

    try:
        main = wait_for("the main window in place of the login window", main_window)
    except Failure as failure:
        raise Failure(f"{failure}\nthe accessible tree:\n" + "\n".join(dump(application)))
    log(f"logged in: {name_of(main)!r}")
    return main


def end_program(app, application, where):
    """SIGTERM, as at the end of a desktop session: the program ends with 0."""
    app.send_signal(signal.SIGTERM)
    try:
        code = app.wait(timeout=10)
    except subprocess.TimeoutExpired:
        # A minimized window is named by its icon text, mostly empty.
        raise Failure(f"wifiticketer did not end within 10 s of SIGTERM in {where}; its windows now:\n" +
                      "\n".join(dump(application, max_depth=1)))
    if code != 0:
        raise Failure(f"wifiticketer exited with {code} on SIGTERM in {where}")


def run(program, simulator, cli, folder, processes):
    data = os.path.join(folder, "data")
    os.mkdir(data)
    runtime = os.path.join(folder, "runtime")
    os.mkdir(runtime, 0o700)
    state_file = os.path.join(folder, "router-state.json")
    sim_log = os.path.join(folder, "router-log.jsonl")
    settings = os.path.join(folder, "settings.reg")
    help_page = os.path.join(folder, "help.html")
    with open(help_page, "w", encoding="utf-8") as file:
        file.write("<html><body>e2e</body></html>\n")

    start_accessibility_bus(processes, folder)
    global STATE_SHOWING, STATE_SENSITIVE, STATE_CHECKED, STATE_FOCUSED, LABEL_FOR
    import pyatspi  # noqa: E402 (connects to the accessibility bus on import)
    STATE_SHOWING, STATE_SENSITIVE, STATE_CHECKED, STATE_FOCUSED, LABEL_FOR = (
        pyatspi.STATE_SHOWING, pyatspi.STATE_SENSITIVE, pyatspi.STATE_CHECKED, pyatspi.STATE_FOCUSED,
        pyatspi.RELATION_LABEL_FOR)

    sim_out = os.path.join(folder, "sim.out")
    sim = processes.start("wifiticketer-routersim",
                          [simulator, "--port", "0", "--state", state_file, "--log", sim_log],
                          stdout=open(sim_out, "wb"), stderr=subprocess.STDOUT)
    port = read_listening_port(sim, sim_out)
    log(f"router simulator on port {port}")
    # No settings file: the program starts as a new installation would.
    before = wait_for("the simulator's first state file", lambda: os.path.exists(state_file) and router_state(state_file))
    if before["hotspotUsers"] or before["userManagerUsers"]:
        raise Failure("the simulator starts with users; the test expects none")
    # A fresh installation sells no hotspot profiles of its own: the list shows
    # the router's User Manager profiles, the first of them on top.
    expected_profile = before["userManagerProfiles"][0]["name"]
    expected_price = round(float(before["userManagerProfiles"][0]["price"]) * 100)

    env = dict(os.environ)
    env.update({
        "WIFITICKETER_SETTINGS": settings,
        "WIFITICKETER_DATA_DIR": data,
        "WIFITICKETER_HELP_URL": "file://" + help_page,
        "WIFITICKETER_API_TIMEOUT_MS": "10000",
        "XDG_CONFIG_HOME": os.path.join(folder, "config"),
        "XDG_DATA_HOME": os.path.join(folder, "share"),
        "XDG_CACHE_HOME": os.path.join(folder, "cache"),
        "XDG_RUNTIME_DIR": runtime,
    })
    program_env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    program_out = open(os.path.join(folder, "program.out"), "wb")
    desktop = pyatspi.Registry.getDesktop(0)

    def start_program():
        """The program's process and its application on the accessibility bus."""
        app = processes.start("wifiticketer", [program], env=program_env,
                              stdout=program_out, stderr=subprocess.STDOUT)

        def our_application():
            if app.poll() is not None:
                raise Failure(f"wifiticketer exited with {app.returncode} before its window showed")
            for candidate in children_of(desktop):
                try:
                    if candidate.get_process_id() == app.pid:
                        return candidate
                except Exception:
                    continue
            return None

        application = wait_for("the program on the accessibility bus", our_application)
        log("program on the accessibility bus")
        return app, application

    app, application = start_program()
    first_setup(application, port)

    generator = log_in(application, app)

    # The generator window: the first profile, three vouchers with random names,
    # no printing afterwards (there is no printer here).
    profiles = require(generator, "the list \"Perfil de Voucher\"", named("Perfil de Voucher", *LIST_ROLES))
    table = profiles.queryTable()
    wait_for("profiles in the list", lambda: table.nRows > 0)
    first_profile = name_of(table.getAccessibleAt(0, 0))
    if first_profile != expected_profile:
        raise Failure(f"the first profile row is {first_profile!r}, the router's first profile is {expected_profile!r}")
    generate = require(generator, "the button \"Gerar\"", named("Gerar", "push button"))
    if has_state(generate, STATE_SENSITIVE):
        raise Failure("\"Gerar\" is enabled before a profile is selected")
    if not table.addRowSelection(0):
        raise Failure("the list \"Perfil de Voucher\" refused to select its first row")
    wait_for("\"Gerar\" to be enabled once a profile is selected", lambda: has_state(generate, STATE_SENSITIVE))

    random_names = require(generator, "the check box \"Nome aleatório\"", named("Nome aleatório", "check box"))
    if not has_state(random_names, STATE_CHECKED):
        raise Failure("\"Nome aleatório\" is not checked on a fresh installation")
    auto_print = require(generator, "the check box \"Impressão Automática\"", named("Impressão Automática", "check box"))
    if has_state(auto_print, STATE_CHECKED):
        press(auto_print, "the check box \"Impressão Automática\"")
        wait_for("\"Impressão Automática\" to be unchecked", lambda: not has_state(auto_print, STATE_CHECKED))

    count = require(generator, "the edit \"Número de vouchers\"", named("Número de vouchers", "text", "entry"))
    set_text(count, str(VOUCHER_COUNT), "the edit \"Número de vouchers\"")
    started = time.monotonic()
    press(generate, "the button \"Gerar\"")

    vouchers = require(generator, "the list \"Usuários gerados\"", named("Usuários gerados", *LIST_ROLES))
    voucher_table = vouchers.queryTable()

    def run_over():
        progress_showing = False
        for window in other_windows(application, [generator]):
            if not progress_window(window):
                raise Failure("a window came up during the run: " + describe_window(window))
            progress_showing = True
        return (voucher_table.nRows == VOUCHER_COUNT and has_state(generate, STATE_SENSITIVE)
                and not progress_showing)

    wait_for(f"the run to end with {VOUCHER_COUNT} vouchers listed", run_over)
    log(f"run over after {time.monotonic() - started:.1f} s")
    shown = {name_of(voucher_table.getAccessibleAt(row, 0)) for row in range(VOUCHER_COUNT)}

    # From outside: the router holds exactly these users, of that profile.
    after = router_state(state_file)
    if after["hotspotUsers"] != before["hotspotUsers"]:
        raise Failure(f"hotspot users changed on the router: {after['hotspotUsers']}")
    made = after["userManagerUsers"]
    on_router = {u["name"]: u for u in made}
    if len(made) != VOUCHER_COUNT or set(on_router) != shown:
        raise Failure(f"the router holds users {sorted(on_router)}, the window lists {sorted(shown)}")
    wrong_profile = [u["name"] for u in made if u.get("actual-profile") != expected_profile]
    if wrong_profile:
        raise Failure(f"users not on the profile {expected_profile!r}: {wrong_profile}")

    # From outside: the history, as the command line reads it with the same settings.
    rows = history_rows(cli, env)
    recorded = {row["user"]: row for row in rows}
    if len(rows) != VOUCHER_COUNT or set(recorded) != set(on_router):
        raise Failure(f"the history lists {sorted(recorded)}, the router holds {sorted(on_router)}")
    for name, row in recorded.items():
        if row["password"] != on_router[name]["password"] or row["profile"] != expected_profile:
            raise Failure(f"history row {row} does not match the router's user {on_router[name]}")
    if len({row["serial"] for row in rows}) != VOUCHER_COUNT:
        raise Failure(f"history rows share a serial: {[row['serial'] for row in rows]}")
    log(f"router and history agree on {sorted(shown)}")

    # The counter window.
    press(require(generator, "the button \"Modo POS\"", named("Modo POS", "push button")),
          "the button \"Modo POS\"")
    counter = wait_for("the counter window", lambda: showing_window_with(
        application, named("Sair do aplicativo", "push button")))
    log(f"counter window: {name_of(counter)!r}")
    sell_at_the_counter(application, counter, expected_profile, expected_price, state_file, cli, env,
                        set(on_router), len(rows))
    total = total_of(counter)

    # The user works at the counter now: after a new start and the login the
    # counter window opens at once, with the shift's sales.
    end_program(app, application, "the counter window")
    app, application = start_program()
    counter = log_in(application, app)
    if find(counter, named("Sair do aplicativo", "push button"), 6) is None:
        raise Failure("after a new start the user who left at the counter gets " + describe_window(counter))
    require(counter, f"the sale \"{POS_COUNT}x {expected_profile} ...\" after a new start",
            sale_row(expected_profile))
    if total_of(counter) != total:
        raise Failure(f"after a new start the total is {total_of(counter)} cents, before it {total}")
    press(require(counter, "the button \"Modo Normal\"", named("Modo Normal", "push button")),
          "the button \"Modo Normal\"")
    wait_for("the generator window", lambda: showing_window_with(application, named("Gerar", "push button")))
    log("back in the generator window")

    # A second start hands over to the running copy and ends at once.
    second = subprocess.run([program], env=program_env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=STEP_TIMEOUT_S)
    if second.returncode != 0:
        raise Failure(f"a second start exited with {second.returncode}")
    if app.poll() is not None:
        raise Failure(f"the running copy ended ({app.returncode}) when a second one started")
    log("a second start handed over and ended with 0")

    # "Sair" leads back to the login window, whose "Configuração" opens the
    # setup for the default user without a password.
    generator = showing_window_with(application, named("Gerar", "push button"))
    press(require(generator, "the button \"Sair\"", named("Sair", "push button")), "the button \"Sair\"")
    login = wait_for("the login window after \"Sair\"", lambda: window_named(application, "wifiTicketer login"))
    # A text of this run only: the PDF of another run cannot pass for this one's.
    text = f"Bem-vindo ao Wi-Fi {os.getpid()}"
    setup_from_login(application, login, state_file, cli, env, text)
    check_saved_design(cli, env, folder, text)

    end_program(app, application, "the login window")


def main():
    arguments = sys.argv[1:]
    if len(arguments) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        if os.environ.get(INNER_MARK) != "1":
            return run_wrapped(arguments)
        if not os.environ.get("DISPLAY") or not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
            raise Failure("inside the wrappers without DISPLAY or DBUS_SESSION_BUS_ADDRESS")
    except Failure as failure:
        log(f"FAILED: {failure}")
        return 1

    program, simulator, cli = (os.path.abspath(path) for path in arguments)
    started = time.monotonic()
    folder = tempfile.mkdtemp(prefix="wifiticketer-e2e-")
    processes = Processes()
    try:
        run(program, simulator, cli, folder, processes)
    except Exception as failure:  # Failure, or the accessibility bus failing under us
        if isinstance(failure, Failure):
            log(f"FAILED: {failure}")
        else:
            log("FAILED with an unexpected error:\n" + traceback.format_exc())
        commands = router_commands(os.path.join(folder, "router-log.jsonl"))
        if commands is not None:
            log(f"the router received {len(commands)} sentences; the last ones: {commands[-8:]}")
        output = os.path.join(folder, "program.out")
        if os.path.exists(output):
            with open(output, "rb") as file:
                tail = file.read()[-3000:].decode(errors="replace")
            if tail.strip():
                log("the program's output:\n" + tail)
        return 1
    finally:
        processes.stop_all()
        shutil.rmtree(folder, ignore_errors=True)
    log(f"passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
