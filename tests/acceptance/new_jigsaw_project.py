#!/usr/bin/env python3
"""Drives the real editor from outside, the way a screen reader or an automation tool does.

Under a private X server (Xvfb), D-Bus session bus and accessibility bus, the editor is started
in a fresh application folder. Only through AT-SPI (widgets found by role and accessible name,
buttons pressed through the action interface, text typed through the editable-text interface)
the script makes a jigsaw project with "New project", opens its "Main parameters", changes
"Number of horizontal puzzles" and presses OK; then it checks the bytes project.ini holds.

Usage: new_jigsaw_project.py PATH/TO/quillbox
Exit status: 0 passed, 1 failed, 77 skipped (no X server could be started here).
"""
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

SKIP = 77
STEP_TIMEOUT = 20.0  # seconds for one thing to appear
PROJECT_NAME = "Reached by AT-SPI"
PIECES_ACROSS_OFFSET = 840  # i32 in the jigsaw Main parameters record
MAIN_PARAMETERS_TYPE = 600
MAIN_PARAMETERS_SIZE = 888


class Failure(Exception):
    pass


def log(text):
    print(text, flush=True)


# ---- the private desktop session ----------------------------------------------------------

def start_x_server(work):
    """Starts Xvfb on a free display; answers (process, ":N") or None when it cannot start."""
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        return None
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        [xvfb, "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL,
        stderr=open(os.path.join(work, "xvfb.log"), "wb"), start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline and not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], 0.5)
        if ready:
            chunk = os.read(read_end, 64)
            if not chunk:
                break
            number += chunk
        elif process.poll() is not None:
            break
    os.close(read_end)
    if not number.strip().isdigit():
        stop(process)
        return None
    return process, ":" + number.strip().decode()


def start_session_bus(env):
    """A private D-Bus session bus; answers (process, address)."""
    process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                               text=True, start_new_session=True)
    ready, _, _ = select.select([process.stdout], [], [], STEP_TIMEOUT)
    address = process.stdout.readline().strip() if ready else ""
    if not address:
        stop(process)
        raise Failure("the D-Bus session bus did not start")
    return process, address


def find_bus_launcher():
    for folder in ("/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/x86_64-linux-gnu/at-spi2-core"):
        path = os.path.join(folder, "at-spi-bus-launcher")
        if os.access(path, os.X_OK):
            return path
    raise Failure("at-spi-bus-launcher not found (package at-spi2-core)")


def stop(process):
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except (ProcessLookupError, PermissionError):
        process.terminate()
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            process.kill()
        process.wait(timeout=5)


# ---- AT-SPI helpers -----------------------------------------------------------------------

Atspi = None
GLib = None


def load_atspi():
    global Atspi, GLib
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi as atspi, GLib as glib
    except (ImportError, ValueError) as error:
        raise Failure("Python's AT-SPI bindings are missing (python3-gi, gir1.2-atspi-2.0): %s" % error)
    Atspi, GLib = atspi, glib
    # get_action_name is deprecated for get_name, which these bindings do not have yet.
    warnings.filterwarnings("ignore", category=DeprecationWarning)


def heard(text):
    """A name as a listener hears it: blanks and line breaks folded, no trailing colon."""
    text = " ".join((text or "").split())
    return text[:-1].rstrip() if text.endswith(":") else text


def safe(call, default=None):
    try:
        return call()
    except GLib.Error:
        return default


def children(node):
    count = safe(node.get_child_count, 0) or 0
    for i in range(count):
        child = safe(lambda: node.get_child_at_index(i))
        if child is not None:
            yield child


def walk(node, depth=0, limit=40):
    yield node
    if depth < limit:
        for child in children(node):
            yield from walk(child, depth + 1, limit)


def describe(node, depth=0, limit=14):
    lines = []
    for child in children(node):
        actions = safe(lambda: [Atspi.Action.get_action_name(child, i)
                                for i in range(Atspi.Action.get_n_actions(child))], []) or []
        lines.append("  " * depth + "%s %r%s" % (safe(child.get_role_name, "?"), safe(child.get_name, "?"),
                                                 " " + str(actions) if actions else ""))
        if depth < limit:
            lines.extend(describe(child, depth + 1, limit))
    return lines


def wait_for(what, find, timeout=STEP_TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        found = find()
        if found is not None:
            return found
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.2)


class App:
    def __init__(self, process):
        self.process = process
        self.root = None

    def attach(self):
        def find():
            if self.process.poll() is not None:
                raise Failure("the editor exited with status %s" % self.process.returncode)
            desktop = Atspi.get_desktop(0)
            Atspi.Accessible.clear_cache(desktop)
            for app in children(desktop):
                if safe(app.get_process_id) == self.process.pid:
                    return app
            return None
        self.root = wait_for("the editor on the accessibility bus", find, timeout=40)

    def find(self, role, name, inside=None):
        """The first showing node of that role whose heard name is name (or passes name())."""
        top = inside or self.root
        Atspi.Accessible.clear_cache(top)
        for node in walk(top):
            if safe(node.get_role_name) != role:
                continue
            text = heard(safe(node.get_name, ""))
            if (name(text) if callable(name) else text == name):
                return node
        return None

    def wait(self, role, name, inside=None, timeout=STEP_TIMEOUT):
        def find():
            if self.process.poll() is not None:
                raise Failure("the editor exited with status %s" % self.process.returncode)
            return self.find(role, name, inside)
        try:
            return wait_for("%s %r" % (role, name), find, timeout)
        except Failure:
            log("What the editor shows:\n" + "\n".join(describe(self.root)))
            raise

    def window(self, title):
        """A top-level window (dialog or frame) of that title."""
        def find():
            if self.process.poll() is not None:
                raise Failure("the editor exited with status %s" % self.process.returncode)
            Atspi.Accessible.clear_cache(self.root)
            for node in children(self.root):
                if heard(safe(node.get_name, "")) == title:
                    return node
            return None
        return wait_for("the window %r" % title, find)


def press(node):
    """Presses a button through its action interface."""
    actions = safe(lambda: Atspi.Action.get_n_actions(node), 0) or 0
    names = [safe(lambda: Atspi.Action.get_action_name(node, i), "") for i in range(actions)]
    for wanted in ("press", "click", "toggle", "activate"):
        for i, action in enumerate(names):
            if action.lower() == wanted:
                # A button that opens a modal dialog may answer late; the dialog is waited for.
                safe(lambda: Atspi.Action.do_action(node, i))
                return
    raise Failure("%r has no press action (it has %s)" % (safe(node.get_name), names))


def type_text(node, text):
    if not safe(lambda: Atspi.EditableText.set_text_contents(node, text), False):
        raise Failure("cannot type into %r" % safe(node.get_name))


def text_of(node):
    return safe(lambda: Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node)), "")


def click(node, double=False):
    """Clicks the middle of the node on the screen, with the pointer AT-SPI moves (tree rows
    have no expand action to call)."""
    box = safe(lambda: Atspi.Component.get_extents(node, Atspi.CoordType.SCREEN))
    if box is None or box.width <= 0 or box.height <= 0:
        raise Failure("%r is not on the screen" % safe(node.get_name))
    x, y = box.x + min(box.width // 2, 60), box.y + box.height // 2
    if not safe(lambda: Atspi.generate_mouse_event(x, y, "b1d" if double else "b1c"), False):
        raise Failure("cannot click %r" % safe(node.get_name))


# ---- project.ini --------------------------------------------------------------------------

def read_profile(path):
    sections, current = {}, None
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current.setdefault(key.strip(), value.strip())
    return sections


def main_parameters_record(sections):
    """The jigsaw Main parameters record as project.ini holds it (hex pieces of 120 bytes)."""
    count = int(sections.get("main", {}).get("nOggetti", "0"))
    for i in range(count):
        section = sections.get("oggetto%d" % i, {})
        if int(section.get("tipoOggetto", "-1")) != MAIN_PARAMETERS_TYPE:
            continue
        size = int(section.get("dimDatiOggetto", "0"))
        pieces = (size + 119) // 120
        text = "".join(section.get("lpDatiOggetto_%d" % k, "") for k in range(1, pieces + 1))
        if text != text.lower():
            raise Failure("the record holds upper-case hex digits")
        return bytes.fromhex(text)
    raise Failure("project.ini holds no Main parameters record")


# ---- the scenario -------------------------------------------------------------------------

def run(quillbox, work):
    # A user of their own: started outside an application folder, the editor makes and seeds
    # $XDG_DATA_HOME/quillbox, which is therefore fresh.
    home = os.path.join(work, "home")
    runtime = os.path.join(work, "runtime")
    os.makedirs(home)
    os.makedirs(runtime, mode=0o700)
    app_folder = os.path.join(work, "data", "quillbox")

    env = dict(os.environ)
    for key in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
        env.pop(key, None)
    env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=os.path.join(work, "data"),
               XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_CACHE_HOME=os.path.join(work, "cache"))

    processes = []
    try:
        started = start_x_server(work)
        if started is None:
            log("SKIPPED: no X server could be started here (Xvfb missing or refused to start)")
            return SKIP
        processes.append(started[0])
        env["DISPLAY"] = started[1]
        log("X server on " + started[1])

        bus, address = start_session_bus(env)
        processes.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        processes.append(subprocess.Popen([find_bus_launcher(), "--launch-immediately"], env=env,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                          start_new_session=True))
        # This process is the automation tool: its AT-SPI library reads the same environment.
        os.environ.update(env)
        load_atspi()
        Atspi.init()

        editor_env = dict(env, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                          QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        editor = subprocess.Popen([quillbox], cwd=home, env=editor_env,
                                  stdout=open(os.path.join(work, "editor.log"), "wb"),
                                  stderr=subprocess.STDOUT, start_new_session=True)
        processes.append(editor)
        app = App(editor)
        app.attach()
        log("editor found on the accessibility bus")

        # New project: name it, choose the jigsaw, OK.
        press(app.wait("push button", "New project"))
        dialog = app.window("New project")
        name = app.wait("text", "Project name", inside=dialog)
        type_text(name, PROJECT_NAME)
        jigsaw = app.wait("radio button", lambda n: "jigsaw" in n.lower(), inside=dialog)
        press(jigsaw)
        wait_for("the jigsaw choice to be checked",
                 lambda: True if jigsaw.get_state_set().contains(Atspi.StateType.CHECKED) else None)
        folder_field = app.wait("text", lambda n: n.startswith("Project will be created"), inside=dialog)
        folder = wait_for("the new project's folder",
                          lambda: text_of(folder_field) or None)
        ok = app.wait("push button", "OK", inside=dialog)
        wait_for("OK to be enabled",
                 lambda: True if ok.get_state_set().contains(Atspi.StateType.ENABLED) else None)
        press(ok)
        project_file = os.path.join(folder, "project.ini")
        wait_for(project_file, lambda: True if os.path.isfile(project_file) else None)
        log("project made in " + folder)
        if os.path.realpath(os.path.dirname(folder)) != os.path.realpath(os.path.join(app_folder, "Projects")):
            raise Failure("the project was made outside the application folder: " + folder)
        before = read_profile(project_file)
        if before["main"].get("sNomeProgetto") != PROJECT_NAME or before["main"].get("tipoGioco") != "6":
            raise Failure("project.ini names another project: %r" % before["main"])
        record = main_parameters_record(before)
        if len(record) != MAIN_PARAMETERS_SIZE:
            raise Failure("the Main parameters record has %d bytes" % len(record))

        # Main parameters: open the project and its "Parameters" group in the tree, select it,
        # Edit item.
        tree = app.wait("tree", "Projects")
        parent = app.wait("table cell", "Project: " + PROJECT_NAME, inside=tree)
        for child in ("Parameters", "Main parameters"):
            if app.find("table cell", child, inside=tree) is None:
                click(parent, double=True)
            parent = app.wait("table cell", child, inside=tree)
        edit = app.wait("push button", "Edit item")
        click(parent)
        wait_for("Main parameters to be selected with Edit item enabled",
                 lambda: True if parent.get_state_set().contains(Atspi.StateType.SELECTED) and
                 edit.get_state_set().contains(Atspi.StateType.ENABLED) else None)
        press(edit)
        parameters = app.window("Main parameters")
        across = app.wait("text", "Number of horizontal puzzles", inside=parameters)
        old = int(text_of(across) or "0")
        wanted = 9 if old != 9 else 11
        type_text(across, str(wanted))
        wait_for("the field to show %d" % wanted, lambda: True if text_of(across) == str(wanted) else None)
        press(app.wait("push button", "OK", inside=parameters))

        # project.ini: the field holds the new number, every other byte is as it was.
        def saved():
            changed = main_parameters_record(read_profile(project_file))
            return changed if changed != record else None
        changed = wait_for("project.ini to hold the change", saved)
        expected = bytearray(record)
        expected[PIECES_ACROSS_OFFSET:PIECES_ACROSS_OFFSET + 4] = wanted.to_bytes(4, "little")
        if changed != bytes(expected):
            diff = [i for i in range(min(len(changed), len(expected))) if changed[i] != expected[i]]
            raise Failure("the saved record differs from the expected one at bytes %s" % diff[:20])
        if int.from_bytes(record[PIECES_ACROSS_OFFSET:PIECES_ACROSS_OFFSET + 4], "little") != old:
            raise Failure("the field showed %d, the record held another number" % old)
        log("project.ini holds %d horizontal pieces (was %d); the other %d bytes are unchanged"
            % (wanted, old, len(record) - 4))
        return 0
    finally:
        for process in reversed(processes):
            stop(process)


def main():
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        print(__doc__, file=sys.stderr)
        return 2
    quillbox = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="qb_acceptance_")
    started = time.monotonic()
    try:
        status = run(quillbox, work)
    except Failure as failure:
        log("FAILED: %s" % failure)
        for name in ("editor.log", "xvfb.log"):
            path = os.path.join(work, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    tail = f.read()[-3000:].decode("utf-8", "replace")
                if tail.strip():
                    log("---- %s ----\n%s" % (name, tail))
        status = 1
    log("(%.1f s)" % (time.monotonic() - started))
    if status != 1:
        shutil.rmtree(work, ignore_errors=True)
    else:
        log("kept for inspection: " + work)
    return status


if __name__ == "__main__":
    sys.exit(main())
