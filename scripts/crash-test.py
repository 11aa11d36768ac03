#!/usr/bin/env python3
"""Randomised crash test of the journalled runs, run on demand.

Each round starts a fresh RouterOS simulator (hotspot, User Manager 6.48 or
7.12) and a fresh data folder, runs `wifiticketer-cli generate` and kills it
with SIGKILL at a random moment (a random time, or a random named moment of
its work through WIFITICKETER_CRASH_AT), then kills the next start (which
settles the interrupted run) in half of the rounds, and lets a third start
finish. Then it compares, with nothing of the program's own readers:

- the users on the router that work (hotspot users; User Manager users with
  their profile activated or assigned) and those that do not,
- the history (`history --format json`) and its serials,
- the vouchers sold (the counts of PosHistory.bin's 216-byte records),
- the vouchers the journal still holds unconfirmed.

It prints a tally and exits 1 when a voucher was sold twice, a sale was
dropped, a voucher that does not work was left or sold, a history row is
missing or doubled, a serial repeats, or a voucher stays unconfirmed.

    python3 scripts/crash-test.py [--kills 300] [--seed N] [--build build] [--kind hotspot|6.48.6|7.12]
                                  [--one-by-one] [--keep-failures DIR]
"""

import argparse
import json
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

RUN_POINTS = ["run-recorded", "run-stored", "run-confirmed", "sales-written"]
RECOVERY_POINTS = ["recovery-asked", "recovery-stored", "recovery-confirmed", "sales-written"]
KINDS = [("hotspot", None, "3 horas"), ("6.48.6", "6.48.6 (stable)", "1dia"), ("7.12", "7.12 (stable)", "1dia")]
SETTINGS_HEAD = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"


class Round:
    def __init__(self, build, folder, kind, version, title, pipelined, latency):
        self.build = build
        self.folder = folder
        self.kind = kind
        self.title = title
        self.state_file = os.path.join(folder, "sim-state.json")
        self.log = []
        self.env = dict(os.environ)
        self.env["WIFITICKETER_SETTINGS"] = os.path.join(folder, "settings.reg")
        self.env["WIFITICKETER_DATA_DIR"] = os.path.join(folder, "data")
        self.env["WIFITICKETER_API_TIMEOUT_MS"] = "5000"
        with open(self.env["WIFITICKETER_SETTINGS"], "w", encoding="utf-8") as settings:
            settings.write(SETTINGS_HEAD)
            if not pipelined:
                settings.write('"PipelinedGeneration"=dword:00000000\n')
        args = [os.path.join(build, "bin", "wifiticketer-routersim"), "--port", "0", "--state", self.state_file,
                "--latency", str(latency)]
        if version:
            args += ["--version", version]
        self.sim = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        match = re.match(r"listening on 127\.0\.0\.1:(\d+)", self.sim.stdout.readline())
        if not match:
            raise RuntimeError("the simulator did not start")
        self.port = match.group(1)
        self.cli(["router", "add", "Sim", "--address", "127.0.0.1", "--port", self.port, "--api-user", "admin",
                  "--password-stdin"], stdin="\n", check=True)
        if kind == "hotspot":
            self.cli(["hotspot-profile", "add", "3 horas", "--validity", "3h", "--router-profile", "default",
                      "--price", "3,00"], check=True)

    def close(self):
        self.sim.kill()
        self.sim.wait()

    def cli(self, args, stdin="", check=False, crash_at=None, kill_after=None):
        """Runs the command line; True when it was killed."""
        env = dict(self.env)
        if crash_at:
            env["WIFITICKETER_CRASH_AT"] = crash_at
        process = subprocess.Popen([os.path.join(self.build, "bin", "wifiticketer-cli")] + args, env=env,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if kill_after is not None:
            process.stdin.close()
            try:
                process.wait(timeout=kill_after)
            except subprocess.TimeoutExpired:
                process.send_signal(signal.SIGKILL)
            out = process.stdout.read()
            process.wait()
        else:
            out, err = process.communicate(stdin, timeout=600)
            if check and process.returncode != 0:
                raise RuntimeError("%s: %s" % (" ".join(args), err))
        self.last_out = out
        return process.returncode == -signal.SIGKILL

    def generate_args(self):
        return ["--router", "Sim", "--no", "generate", "--profile", self.title, "--count",
                str(random.choice([150, 400]))]

    def settle_args(self):
        return ["--router", "Sim", "--no", "profiles"]

    def router_users(self):
        with open(self.state_file, encoding="utf-8") as file:
            state = json.load(file)
        if self.kind == "hotspot":
            return [user["name"] for user in state.get("hotspotUsers", [])], []
        assigned = {entry["user"] for entry in state.get("userProfiles", [])}
        working, incomplete = [], []
        for user in state.get("userManagerUsers", []):
            name = user.get("name") or user.get("username")
            works = name in assigned if self.kind == "7.12" else bool(user.get("actual-profile"))
            (working if works else incomplete).append(name)
        return working, incomplete

    def sold(self):
        path = os.path.join(self.folder, "data", "PosHistory.bin")
        if not os.path.exists(path):
            return 0
        data = open(path, "rb").read()
        return sum(struct.unpack_from("<i", data, at + 8)[0] for at in range(0, len(data) - 215, 216))

    def unconfirmed(self):
        path = os.path.join(self.folder, "data", "HistoryPending.jsonl")
        if not os.path.exists(path):
            return 0
        open_serials = set()
        for line in open(path, encoding="utf-8"):
            try:
                entry = json.loads(line)
            except ValueError:
                continue
            kind = entry.get("Journal")
            if kind == "unconfirmed":
                open_serials.add(entry["Serial"])
            elif kind in ("confirmed", "withdrawn"):
                for part in filter(None, entry["Serials"].split(",")):
                    first, _, last = part.partition("-")
                    open_serials -= set(range(int(first), int(last or first) + 1))
        return len(open_serials)

    def history(self):
        self.cli(["history", "--format", "json"], check=True)
        rows = json.loads(self.last_out)["rows"]
        return [row["user"] for row in rows], [row["serial"] for row in rows]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--kills", type=int, default=300, help="stop after this many kills (default 300)")
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--build", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build"))
    parser.add_argument("--kind", choices=[kind for kind, _, _ in KINDS], help="only this kind of router")
    parser.add_argument("--one-by-one", action="store_true", help="only runs of one command at a time")
    parser.add_argument("--keep-failures", metavar="DIR", help="copy the folder of a failed round here")
    options = parser.parse_args()
    random.seed(options.seed)

    tally = {"rounds": 0, "kills": 0, "run kills": 0, "settling kills": 0, "vouchers made": 0,
             "sold twice": 0, "sales dropped": 0, "not working, left or sold": 0, "history rows missing": 0,
             "history rows doubled": 0, "serials repeated": 0, "left unconfirmed": 0}
    failures = []
    while tally["kills"] < options.kills:
        kind, version, title = random.choice([k for k in KINDS if not options.kind or k[0] == options.kind])
        pipelined = random.random() < 0.6 and not options.one_by_one
        timed = random.random() < 0.5
        with tempfile.TemporaryDirectory() as folder:
            round_ = Round(options.build, folder, kind, version, title, pipelined, 5 if timed else 0)
            try:
                points = RUN_POINTS + (["um-added"] if kind != "hotspot" else [])
                if timed:
                    after = random.uniform(0.1, 1.2)
                    killed = round_.cli(round_.generate_args(), kill_after=after)
                    round_.log.append("run killed after %.2f s" % after if killed else "run ended")
                else:
                    point = "%s:%d" % (random.choice(points), random.randint(1, 3))
                    killed = round_.cli(round_.generate_args(), crash_at=point)
                    round_.log.append("run killed at %s" % point if killed else "run ended")
                tally["run kills"] += killed
                if random.random() < 0.5:
                    if random.random() < 0.5:
                        after = random.uniform(0.01, 0.5)
                        killed_again = round_.cli(round_.settle_args(), kill_after=after)
                        round_.log.append("start killed after %.2f s" % after if killed_again else "start ended")
                    else:
                        point = random.choice(RECOVERY_POINTS)
                        killed_again = round_.cli(round_.settle_args(), crash_at=point)
                        round_.log.append("start killed at %s" % point if killed_again else "start ended")
                    tally["settling kills"] += killed_again
                round_.cli(round_.settle_args(), check=True)
                round_.log.append("final start")

                working, incomplete = round_.router_users()
                users, serials = round_.history()
                sold = round_.sold()
                tally["vouchers made"] += len(working)
                tally["sold twice"] += max(0, sold - len(working))
                tally["sales dropped"] += max(0, len(working) - sold)
                tally["not working, left or sold"] += len(incomplete) + len(set(users) - set(working))
                tally["history rows missing"] += len(set(working) - set(users))
                tally["history rows doubled"] += len(users) - len(set(users))
                tally["serials repeated"] += len(serials) - len(set(serials))
                tally["left unconfirmed"] += round_.unconfirmed()
                if (sold != len(working) or incomplete or sorted(users) != sorted(working)
                        or len(serials) != len(set(serials))):
                    failures.append("round %d (%s, %s): %d working, %d sold, %d in the history; %s"
                                    % (tally["rounds"] + 1, kind, "pipelined" if pipelined else "one by one",
                                       len(working), sold, len(users), ", ".join(round_.log)))
                    if options.keep_failures:
                        shutil.copytree(folder, os.path.join(options.keep_failures, "round-%d" % (tally["rounds"] + 1)))
            finally:
                round_.close()
        tally["rounds"] += 1
        tally["kills"] = tally["run kills"] + tally["settling kills"]
        print("\r%d rounds, %d kills" % (tally["rounds"], tally["kills"]), end="", file=sys.stderr, flush=True)
    print(file=sys.stderr)

    print("seed %d" % options.seed)
    for key, value in tally.items():
        print("%-28s %d" % (key, value))
    for failure in failures:
        print(failure)
    bad = ["sold twice", "sales dropped", "not working, left or sold", "history rows missing",
           "history rows doubled", "serials repeated", "left unconfirmed"]
    return 1 if any(tally[key] for key in bad) else 0


if __name__ == "__main__":
    sys.exit(main())
