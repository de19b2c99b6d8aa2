#!/usr/bin/env python3
"""Every text the window shows is translatable and translated in each shipped language.

Runs lupdate (through scripts/update-translations.sh, with the project's options) over copies of
translations/*.ts: a text that tr() or LARK_WORDS marks but no .ts file holds yet comes back
unfinished, and a text that is gone comes back missing. Then every message must be finished,
non-empty and carry the same placeholders (%1, %2, ...) as its source.
  check_translations.py <source dir> <lupdate>
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

source_dir, lupdate = sys.argv[1], sys.argv[2]
ts_dir = os.path.join(source_dir, "translations")
shipped = sorted(f for f in os.listdir(ts_dir) if f.endswith(".ts"))
failures = []


def messages(path):
    found = {}
    for context in ET.parse(path).getroot().findall("context"):
        name = context.find("name").text
        for message in context.findall("message"):
            found[(name, message.find("source").text)] = message.find("translation")
    return found


def placeholders(text):
    return sorted(set(re.findall(r"%\d", text or "")))


if not shipped:
    failures.append("no translations/*.ts file")
with tempfile.TemporaryDirectory() as scratch:
    copies = []
    for name in shipped:
        copy = os.path.join(scratch, name)
        shutil.copy(os.path.join(ts_dir, name), copy)
        copies.append(copy)
    env = dict(os.environ, LUPDATE=lupdate)
    run = subprocess.run([os.path.join(source_dir, "scripts", "update-translations.sh"), *copies],
                         env=env, capture_output=True, text=True)
    if run.returncode != 0:
        failures.append("lupdate failed: " + run.stderr)
    for name, copy in zip(shipped, copies):
        committed = messages(os.path.join(ts_dir, name))
        current = messages(copy)
        for key in sorted(set(current) - set(committed)):
            failures.append(f"{name}: [{key[0]}] {key[1]!r} is shown but not in the file "
                            "(run scripts/update-translations.sh and translate it)")
        for key in sorted(set(committed) - set(current)):
            failures.append(f"{name}: [{key[0]}] {key[1]!r} is no longer used "
                            "(run scripts/update-translations.sh)")
        for (context, source), translation in sorted(current.items()):
            if translation.get("type") in ("unfinished", "vanished", "obsolete") or not translation.text:
                failures.append(f"{name}: [{context}] {source!r} is not translated")
            elif placeholders(source) != placeholders(translation.text):
                failures.append(f"{name}: [{context}] {source!r}: the translation's placeholders "
                                f"{placeholders(translation.text)} differ from {placeholders(source)}")
        print(f"{name}: {len(current)} texts")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(shipped) * (0 if failures else 1)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
