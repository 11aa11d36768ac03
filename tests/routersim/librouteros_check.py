#!/usr/bin/env python3
"""Checks wifiticketer-routersim with librouteros, a RouterOS API client written
independently of this project: on a router that takes both login methods, the
challenge (token) login and the plain login, a print, an add, the added user
printed back and a duplicate add refused with a trap.

Usage: librouteros_check.py PATH-TO-wifiticketer-routersim
Exit 0 when every check passes, 1 when one fails, 77 (skipped) when the
librouteros module is not installed."""

import json
import os
import re
import subprocess
import sys
import tempfile

SKIPPED = 77
USER = "api"
PASSWORD = "s3nha"


def check(condition, what):
    if not condition:
        raise AssertionError(what)
    print("ok:", what)


def run_checks(librouteros, port, state_path):
    from librouteros.exceptions import TrapError
    from librouteros.login import plain, token

    def connect(method, password=PASSWORD):
        return librouteros.connect("127.0.0.1", USER, password, port=port, login_method=method, timeout=10)

    api = connect(token)
    resource = list(api("/system/resource/print"))
    check(len(resource) == 1 and resource[0].get("version") == "6.48.6 (stable)",
          "token login, then /system/resource/print gives the version")

    profiles = [row["name"] for row in api.path("ip", "hotspot", "user", "profile")]
    check(profiles == ["default", "1hora"], "hotspot user profiles are listed in order")

    users = api.path("ip", "hotspot", "user")
    new_id = users.add(name="ana", password="p1", profile="1hora", comment="202612092045")
    check(re.fullmatch(r"\*[0-9A-F]+", new_id) is not None, "add answers the new id " + new_id)

    # librouteros gives values that read as numbers as numbers.
    found = list(api.rawCmd("/ip/hotspot/user/print", "?name=ana"))
    check(len(found) == 1 and found[0][".id"] == new_id and str(found[0]["comment"]) == "202612092045",
          "the new user is printed back by name with its id and comment")

    try:
        users.add(name="ana", password="p2", profile="default")
        check(False, "a duplicate add raises TrapError")
    except TrapError as error:
        check(error.message == "failure: already have user with this name",
              "a duplicate add raises TrapError: " + error.message)
    api.close()

    second = connect(plain)
    names = [row["name"] for row in second.path("ip", "hotspot", "user")]
    check(names == ["ana"], "plain login, then the print shows the one user")
    second.close()

    try:
        connect(plain, password="wrong")
        check(False, "a wrong password is refused")
    except TrapError as error:
        check("invalid user name or password" in error.message, "a wrong password is refused: " + error.message)

    with open(state_path, encoding="utf-8") as state_file:
        state = json.load(state_file)
    check([user["name"] for user in state["hotspotUsers"]] == ["ana"], "the state dump holds the added user")


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        import librouteros
    except ImportError as error:
        print("SKIPPED: the Python module librouteros is not installed (%s); "
              "Debian package python3-librouteros" % error, file=sys.stderr)
        return SKIPPED

    with tempfile.TemporaryDirectory() as folder:
        state_path = os.path.join(folder, "state.json")
        simulator = subprocess.Popen(
            [sys.argv[1], "--port", "0", "--login", "both", "--user", USER, "--password", PASSWORD,
             "--state", state_path],
            stdout=subprocess.PIPE, text=True)
        try:
            line = simulator.stdout.readline()
            match = re.fullmatch(r"listening on 127\.0\.0\.1:(\d+)\n", line)
            if not match:
                print("the simulator did not start: %r" % line, file=sys.stderr)
                return 1
            run_checks(librouteros, int(match.group(1)), state_path)
        except AssertionError as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            simulator.terminate()
            simulator.wait(timeout=10)
    return 0


if __name__ == "__main__":
    sys.exit(main())
