#!/usr/bin/env python3
"""larkctl's bash completion in a real interactive bash on a pseudo-terminal: keys typed, TAB
pressed, and the command line read back through a key bound to print it.

    completion-test.py COMPLETION_FILE [--larkctl DIR --device WORD...]

Without --larkctl, a stand-in larkctl prints a list of mice whose paths and serial numbers try
to run commands when the completion evaluates them. With --larkctl, the real program in DIR is
asked (the emulated mouse presents a hostile serial number) and each --device WORD must be
offered. Either way, no command that a device supplies may run.
"""
import argparse
import json
import os
import pty
import re
import select
import shutil
import signal
import stat
import sys
import tempfile
import time

PROMPT = "PROMPT> "
DEADLINE_S = 30  # only so that a broken completion fails instead of hanging


class Shell:
    def __init__(self, env):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execvpe("bash", ["bash", "--norc", "--noprofile", "-i"], env)
        self.buffer = ""

    def read_until(self, pattern):
        """Reads until `pattern` (a regex) matches what came since the last match."""
        end = time.monotonic() + DEADLINE_S
        while True:
            match = re.search(pattern, self.buffer, re.S)
            if match:
                taken = self.buffer[: match.end()]
                self.buffer = self.buffer[match.end():]
                return taken, match
            left = end - time.monotonic()
            if left <= 0:
                raise TimeoutError(f"no {pattern!r} in {self.buffer!r}")
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                data = os.read(self.fd, 65536).decode("utf-8", "replace")
                self.buffer += re.sub(r"\x1b\[[0-9;?]*[A-Za-z]|\r", "", data)

    def send(self, keys):
        os.write(self.fd, keys.encode())

    def command(self, text):
        self.send(text + "\n")
        self.read_until(re.escape(PROMPT))

    def complete(self, keys):
        """Types `keys` (TABs included) and gives what was listed and the line that resulted."""
        self.send(keys + "\x18\x0c")  # C-x C-l prints the line between markers
        listed, match = self.read_until(r"<<LINE:(.*?)>>\n")
        self.send("\x01\x0b")  # C-a C-k: an empty line for the next case
        return listed, match.group(1)

    def close(self):
        self.send("exit\n")
        try:
            os.waitpid(self.pid, 0)
        except ChildProcessError:
            pass


def stand_in(folder, marker):
    """A larkctl whose `list --json` names devices that try to touch files in `marker`."""
    hostile = [
        f"$(touch {marker}/dollar)",
        f"`touch {marker}/backquote`",
        f"x;touch {marker}/semicolon",
        f'a" $(touch {marker}/quote) "b',
    ]
    mice = [{"path": "/dev/hidraw3", "serial": "LK0001"}]
    mice += [{"path": f"/dev/hidraw{4 + i}", "serial": text} for i, text in enumerate(hostile)]
    mice.append({"path": f"/dev/$(touch {marker}/path)", "serial": "LK0002"})
    listing = os.path.join(folder, "list.json")
    with open(listing, "w") as out:
        json.dump({"version": 1, "mice": mice}, out, indent=2)
    program = os.path.join(folder, "larkctl")
    with open(program, "w") as out:
        out.write(f'#!/bin/sh\n[ "$1 $2" = "list --json" ] && exec cat "{listing}"\nexit 1\n')
    os.chmod(program, stat.S_IRWXU)
    return ["/dev/hidraw3", "LK0001", "/dev/hidraw4", "LK0002"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("completion")
    parser.add_argument("--larkctl")
    parser.add_argument("--device", action="append", default=[])
    parser.add_argument("--marker", help="the folder a hostile serial number touches files in")
    args = parser.parse_args()

    scratch = tempfile.mkdtemp(prefix="larkctl-completion-")
    marker = args.marker or os.path.join(scratch, "ran")
    os.makedirs(marker, exist_ok=True)
    if args.larkctl:
        bin_dir, devices = os.path.abspath(args.larkctl), args.device
    else:
        bin_dir = os.path.join(scratch, "bin")
        os.mkdir(bin_dir)
        devices = stand_in(bin_dir, marker)
    os.makedirs(os.path.join(scratch, "files"))
    for name in ("backup.json", "backup old.json"):
        open(os.path.join(scratch, "files", name), "w").close()

    env = {
        "PATH": bin_dir + ":" + os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": scratch,
        "TERM": "dumb",
        "INPUTRC": "/dev/null",
        "PS1": PROMPT,
        "LANG": "C.UTF-8",
    }
    for kept in ("XDG_RUNTIME_DIR", "SYSTEMD_DEVICE_VERIFY_SYSFS", "HIDEMU_CTL"):
        if kept in os.environ:
            env[kept] = os.environ[kept]
    failures = []
    shell = Shell(env)
    try:
        shell.read_until(re.escape(PROMPT))
        for setup in (
            "bind 'set show-all-if-ambiguous on'",
            "bind 'set completion-query-items 0'",
            "bind 'set page-completions off'",
            "bind 'set completion-ignore-case off'",
            """bind -x '"\\C-x\\C-l": printf "<<LINE:%s>>\\n" "$READLINE_LINE"'""",
            f"source {args.completion}",
            f"cd {os.path.join(scratch, 'files')}",
        ):
            shell.command(setup)

        def check(label, keys, line=None, offered=(), not_offered=()):
            listed, got = shell.complete(keys)
            if line is not None and got != line:
                failures.append(f"{label}: the line is {got!r}, not {line!r}")
            for word in offered:
                if word not in listed and got.split()[-1:] != [word]:
                    failures.append(f"{label}: {word!r} not offered in {listed!r} (line {got!r})")
            for word in not_offered:
                if word in listed:
                    failures.append(f"{label}: {word!r} offered in {listed!r}")

        # Names, and the values after '=' whatever COMP_WORDBREAKS holds.
        check("command", "larkctl g\t", "larkctl get ")
        check("get a name", "larkctl get polling\t", "larkctl get polling-rate ")
        check("set a name", "larkctl set --dry-run cpi-l\t", "larkctl set --dry-run cpi-levels=")
        check("values after =", "larkctl set polling-rate=\t", "larkctl set polling-rate=",
              offered=["1000", "2000", "4000", "8000"])
        check("value begun", "larkctl set left-spdt=s\t", "larkctl set left-spdt=s",
              offered=["safe", "speed"], not_offered=["slam"])
        check("value finished", "larkctl set left-spdt=sa\t", "larkctl set left-spdt=safe ")
        check("second assignment", "larkctl set cpi1=800 motion-sync=o\t", "larkctl set cpi1=800 motion-sync=o",
              offered=["on", "off"])
        check("action with a blank", "larkctl set wheel-up=VOLUME\\ U\t",
              "larkctl set wheel-up=VOLUME\\ UP ")
        check("options of a command", "larkctl import --f\t", "larkctl import --force ")
        check("files", "larkctl export back\t", offered=["backup.json", "backup old.json"])
        check("global option after the command", "larkctl show --ver\t", "larkctl show --verbose ")
        check("version before any command", "larkctl --vers\t", "larkctl --version ")
        shell.command("COMP_WORDBREAKS=${COMP_WORDBREAKS//=}")
        check("value without the = break", "larkctl set polling-rate=4\t", "larkctl set polling-rate=4000 ")
        check("device without the = break", "larkctl list --device=\t", offered=[f"--device={d}" for d in devices])
        shell.command("COMP_WORDBREAKS=\"$COMP_WORDBREAKS=\"")

        # Devices, wherever --device stands.
        for label, keys in (
            ("device first", "larkctl --device \t"),
            ("device after the command", "larkctl show --device \t"),
            ("device after =", "larkctl export --device=\t"),
        ):
            check(label, keys, offered=devices)
        check("device chosen", "larkctl --device /dev/hidraw3 sh\t", "larkctl --device /dev/hidraw3 show ")
    finally:
        shell.close()

    ran = sorted(os.listdir(marker))
    if ran:
        failures.append(f"completion ran commands a device supplied: {ran}")
    shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    if failures:
        return 1
    print("larkctl completion: all passed")
    return 0


if __name__ == "__main__":
    signal.signal(signal.SIGHUP, signal.SIG_IGN)
    sys.exit(main())
