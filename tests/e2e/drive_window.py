"""Drives the running window through AT-SPI by the accessible names a screen reader sees.

Mode "demo": the virtual mouse's panel unplugs, plugs and presses the polling-rate button.
Mode "hidemu": the same through the emulated hidraw mouse's control channel.
"""
import subprocess
import sys
import time

import pyatspi

TITLE = "Tarrow Lark 8k Configuration Tool"
mode = sys.argv[1]
hidemu = sys.argv[2] if len(sys.argv) > 2 else ""


def wait_for(what, predicate, timeout=15.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            value = predicate()
            if value:
                print(f"ok: {what}")
                return value
        except Exception:  # the tree may change under us while the window works
            pass
        time.sleep(0.1)
    raise SystemExit(f"FAIL: {what}")


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == TITLE:
            return app
    return None


def nodes(root):
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))


def find(role, name=None, description=None):
    for node in nodes(app):
        if node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        if description is not None and node.description != description:
            continue
        return node
    return None


def sensitive(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "Toggle", "toggle", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def label_text(description):
    node = find("label", description=description)
    return node.name if node else None


def check(what, condition):
    if not condition:
        raise SystemExit(f"FAIL: {what}")
    print(f"ok: {what}")


def mouse(command):
    if mode == "demo":
        press(wait_for(f"panel button {command}", lambda: find("push button", {"unplug": "Unplug", "plug": "Plug", "poll": "Polling rate button"}[command])))
    else:
        args = {"unplug": ["unplug"], "plug": ["plug"], "poll": ["event", "6", "8"]}[command]
        subprocess.run([hidemu, "ctl", *args], check=True, stdout=subprocess.DEVNULL)


app = wait_for("the window appears on the accessibility bus", find_app, timeout=30)
print("ok: found", app.name)

wait_for("firmware version V1.06 shown", lambda: label_text("Firmware Version") == "V1.06")
check("software version V1.06", label_text("Software Version") == "V1.06")
apply_button = find("push button", "APPLY")
check("APPLY starts disabled", apply_button is not None and not sensitive(apply_button))
check("a setting's tooltip reaches screen readers",
      "straight lines" in (find("check box", "Angle Snapping").description or ""))

press(find("check box", "Angle Snapping"))
wait_for("an edit enables APPLY", lambda: sensitive(find("push button", "APPLY")))
press(find("push button", "APPLY"))
wait_for("APPLY reports success", lambda: label_text("Status") == "Settings applied.")
check("APPLY disabled after success", not sensitive(find("push button", "APPLY")))

slider = find("slider", "CPI 2 X")
slider.queryValue().currentValue = 40.0
wait_for("moving a linked CPI trackbar moves both axes",
         lambda: find("text", "CPI 2 X value").queryText().getText(0, -1) == "2000"
         and find("text", "CPI 2 Y value").queryText().getText(0, -1) == "2000")

mouse("unplug")
wait_for("unplugging clears the firmware version", lambda: label_text("Firmware Version") == "")
check("unplugged: Factory Reset disabled", not sensitive(find("push button", "Factory Reset")))
check("unplugged: edits kept on the page", find("text", "CPI 2 X value").queryText().getText(0, -1) == "2000")
wait_for("unplugged: the status line says the window waits for the mouse",
         lambda: (label_text("Status") or "").startswith("The mouse was unplugged. Plug it in again"))

mouse("plug")
wait_for("plugging in reconnects", lambda: label_text("Firmware Version") == "V1.06")
wait_for("plugged: Factory Reset enabled", lambda: sensitive(find("push button", "Factory Reset")))
wait_for("plugged: the mouse's own settings are shown again",
         lambda: find("text", "CPI 2 X value").queryText().getText(0, -1) == "800")

mouse("poll")
wait_for("the mouse's polling-rate button reaches the Advanced page",
         lambda: find("combo box", description="Polling Rate").name == "1000Hz")

press(find("push button", "Factory Reset"))
wait_for("Factory Reset reports success", lambda: label_text("Status") == "Factory settings restored.")
check("Factory Reset shows the defaults", not find("check box", "Angle Snapping").getState().contains(pyatspi.STATE_CHECKED))
print("e2e passed")
