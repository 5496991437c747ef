#!/usr/bin/env python3
"""The real program on a private X server (Xvfb), driven only by key presses (xdotool, through
XTEST) as a user types them: New list, Add and Export; the Delete key with Undo and both Redo keys;
Undo of an Import; Copy and Paste through the X clipboard (read and set with xclip); a wrong
clipboard refused with one warning (its text is checked by the Qt tests); the exit question's default button; and a 20,000-row list
named on the command line, whose selected last row must be on the screen, checked by the pixels
of a screenshot (xwd). The accessibility bus is kept away: it changes how the list scrolls.

usage: check_editor_x11.py PROGRAM
Exits 0 when every check passed, 1 on a failure, 77 (skipped) only when Xvfb cannot start."""

import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
HEADINGS = "Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\n"
TIMEOUT = 20


class Failure(Exception):
    pass


def display_taken(number):
    """Whether an X server holds display number: its lock file here, or its socket in the kernel's list,
    which a server in another root (a chroot) of this machine shares with us."""
    if os.path.exists("/tmp/.X%d-lock" % number):
        return True
    try:
        with open("/proc/net/unix", encoding="utf-8", errors="replace") as sockets:
            return any(line.rstrip().endswith("/tmp/.X11-unix/X%d" % number) for line in sockets)
    except OSError:
        return False


def run(*args, **kwargs):
    return subprocess.run(args, check=True, timeout=TIMEOUT, capture_output=True, text=True, **kwargs).stdout


class Session:
    """Xvfb, the program, and the keys and clipboard of the display."""

    def __init__(self, work, program):
        self.work = work
        self.program = program
        self.xvfb = None
        self.app = None
        self.clipboard_servers = []
        self.env = dict(os.environ)
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            self.env.pop(name, None)
        self.env.update(NO_AT_BRIDGE="1", QT_ACCESSIBILITY="0", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="0",
                        QT_QPA_PLATFORM="xcb", HOME=work, XDG_CONFIG_HOME=work, XDG_RUNTIME_DIR=work,
                        LC_ALL="C.UTF-8", QT_QPA_PLATFORMTHEME="")

    def start_display(self):
        first = random.randrange(200, 900)
        for number in range(first, first + 20):
            if display_taken(number):
                continue
            display = ":%d" % number
            self.xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                          "-noreset"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            self.env["DISPLAY"] = display
            for _ in range(50):
                if self.xvfb.poll() is not None:
                    break
                if subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env, capture_output=True,
                                  timeout=TIMEOUT).returncode == 0:
                    return None
                time.sleep(0.1)
            reason = self.xvfb.stderr.read().decode(errors="replace").strip() if self.xvfb.poll() is not None else ""
            self.stop_display()
            if "already active" not in reason:
                return reason or "it did not answer within 5 seconds"
        return "no free display number"

    def stop_display(self):
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=TIMEOUT)
            self.xvfb = None

    def x(self, *args):
        return subprocess.run(args, env=self.env, check=True, timeout=TIMEOUT, capture_output=True,
                              text=True).stdout

    def launch(self, *args):
        self.app = subprocess.Popen([self.program, *args], env=self.env, cwd=self.work,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        return self.wait_window("Quorlis")

    def windows(self, title=None):
        """The visible windows titled title exactly (xdotool's search ignores case), or with any title."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "." if title is None else title],
                               env=self.env, capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
        if title is None:
            return found
        return [window for window in found if self.title(window) == title]

    def title(self, window):
        return subprocess.run(["xdotool", "getwindowname", window], env=self.env, capture_output=True, text=True,
                              timeout=TIMEOUT).stdout.rstrip("\n")

    def wait_window(self, title):
        for _ in range(100):
            found = self.windows(title)
            if found:
                time.sleep(0.3)
                return found[-1]
            self.check_running()
            time.sleep(0.1)
        raise Failure("no window titled %r came up" % title)

    def wait_new_window(self, known):
        """A visible window with a title that is none of known (a file chooser, whatever its title)."""
        for _ in range(100):
            found = [w for w in self.windows() if w not in known]
            if found:
                time.sleep(0.5)
                return found[-1]
            time.sleep(0.1)
        raise Failure("no new window came up")

    def wait_window_gone(self, window):
        for _ in range(100):
            if window not in self.windows():
                return
            time.sleep(0.1)
        raise Failure("the window %s stayed" % window)

    def wait_gone(self, title):
        for _ in range(100):
            if not self.windows(title):
                return
            time.sleep(0.1)
        raise Failure("the window titled %r stayed" % title)

    def check_running(self):
        if self.app.poll() is not None:
            raise Failure("the program ended (status %d): %s" % (self.app.returncode,
                                                               self.app.stderr.read().decode(errors="replace")))

    def keys(self, window, *keys):
        """Focuses window and presses keys, each down and up as a person types them."""
        self.x("xdotool", "windowfocus", "--sync", window)
        for key in keys:
            self.x("xdotool", "key", "--clearmodifiers", "--delay", "60", key)
            time.sleep(0.15)
        time.sleep(0.3)

    def type(self, window, text):
        self.x("xdotool", "windowfocus", "--sync", window)
        self.x("xdotool", "type", "--delay", "20", text)
        time.sleep(0.2)

    def clipboard(self):
        return subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env, capture_output=True,
                              timeout=TIMEOUT).stdout.decode()

    def set_clipboard(self, text):
        # xclip stays in the foreground to serve the text until another client takes the clipboard.
        server = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"], env=self.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        server.stdin.write(text.encode())
        server.stdin.close()
        self.clipboard_servers.append(server)
        time.sleep(0.5)

    def wait_exit(self):
        """The program's exit status; a failing one comes with what the program said."""
        try:
            status = self.app.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")
        if status != 0:
            raise Failure("the program ended with status %d: %s" % (status, self.app.stderr.read().decode(errors="replace")[-3000:]))
        return status

    def kill_app(self):
        if self.app and self.app.poll() is None:
            self.app.send_signal(signal.SIGKILL)
            self.app.wait(timeout=TIMEOUT)
        for server in self.clipboard_servers:
            if server.poll() is None:
                server.kill()
            server.wait(timeout=TIMEOUT)
        self.clipboard_servers = []


def expect(what, actual, expected):
    if actual != expected:
        raise Failure("%s:\n  got      %r\n  expected %r" % (what, actual, expected))


def cable_file(rows):
    lines = ["/*!!!DO NOT MODIFY!!!!*/", "[CableList] Version=1 CableCount=%d" % len(rows)]
    for number, row in enumerate(rows, 1):
        for key, cell in zip(("CableName", "Velocity", "CableLoss", "Frequency"), row):
            lines.append("%s%d = %s" % (key, number, cell))
    return "\n".join(lines) + "\n"


def write(path, text):
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def read_xwd(data):
    """The pixels of an XWD dump of a 24-bit window: width, height and a function (x, y) -> (r, g, b)."""
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line, colormap_entries = header[7], header[11], header[12], header[19]
    if bits_per_pixel != 32:
        raise Failure("the screenshot has %d bits a pixel" % bits_per_pixel)
    start = header_size + colormap_entries * 12
    order = "<" if byte_order == 0 else ">"

    def pixel(x, y):
        value = struct.unpack_from(order + "I", data, start + y * bytes_per_line + x * 4)[0]
        return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF

    return width, height, pixel


def coloured_rows(session, window):
    """The pixel rows of the window's lower part (where the list is) that hold a clearly coloured
    run: a highlighted row. Plain rows, their grid and the buttons are shades of grey."""
    shot = subprocess.run(["xwd", "-silent", "-id", window], env=session.env, capture_output=True,
                          timeout=TIMEOUT, check=True).stdout
    width, height, pixel = read_xwd(shot)
    rows = []
    for y in range(int(height * 0.3), height - 2):
        coloured = 0
        for x in range(int(width * 0.1), int(width * 0.9), 3):
            r, g, b = pixel(x, y)
            if max(r, g, b) - min(r, g, b) > 60:
                coloured += 1
        if coloured > (width * 0.8 / 3) * 0.5:
            rows.append(y)
    return height, rows


def copy_all_rows(session, main):
    """Copy All Rows from the context menu (Shift+F10, then its mnemonic), as the clipboard has it."""
    session.keys(main, "shift+F10")
    session.keys(main, "l")
    return session.clipboard()


def expect_one_box(session):
    """A message box (captioned with the program's name) comes up, Return closes it, and no other
    follows. Its text cannot be read from outside without the accessibility bus; the Qt tests
    check it on the same window."""
    box = session.wait_window("quorlis")
    session.keys(box, "Return")
    session.wait_gone("quorlis")
    time.sleep(0.5)
    if session.windows("quorlis"):
        raise Failure("more than one message box came up")


def choose_file(session, main, key, path):
    """key opens a file chooser, in whose name field (focused, its text selected) path is typed."""
    known = session.windows(".+")
    session.keys(main, key)
    chooser = session.wait_new_window(known)
    session.keys(chooser, "ctrl+a")
    session.type(chooser, path)
    session.keys(chooser, "Return")
    session.wait_window_gone(chooser)


def focus_list(session, main):
    # From Import, where the focus starts: Export, then the list (disabled buttons are skipped).
    session.keys(main, "Tab", "Tab")


def check_new_list_add_and_export(session):
    main = session.launch()
    session.keys(main, "ctrl+n")
    session.keys(main, "Tab", "Tab", "Tab", "Tab", "Tab", "space")  # Export, list, Edit, Delete, Add
    dialog = session.wait_window("Cable Parameter Edit Dialog")
    session.keys(dialog, "Tab", "Tab")  # OK, Cancel, then Name
    for text in ("RG6", "0.82", "0.19", "5"):
        session.type(dialog, text)
        session.keys(dialog, "Tab")
    session.keys(dialog, "Return")
    session.wait_gone("Cable Parameter Edit Dialog")
    exported = os.path.join(session.work, "new.ini")
    choose_file(session, main, "ctrl+s", exported)
    with open(exported, encoding="utf-8") as saved:
        expect("the new list exported", saved.read(), cable_file([("RG6", "0.82", "0.19", "5")]))
    session.keys(main, "Escape")
    session.keys(session.wait_window("quorlis"), "Return")  # saved: Enter is Yes
    expect("the program's status after Yes", session.wait_exit(), 0)


def check_delete_undo_redo_and_exit_question(session):
    rows = [("RG58", "0.66", "0.5", "100"), ("LMR400", "0.85", "0.2", "900"), ("RG213", "0.66", "0.3", "50")]
    path = os.path.join(session.work, "three.ini")
    write(path, cable_file(rows))
    main = session.launch(path)
    focus_list(session, main)
    session.keys(main, "Up")  # the middle row
    session.keys(main, "Delete")
    expect("after Delete", copy_all_rows(session, main), HEADINGS + "RG58\t0.66\t0.5\t100\nRG213\t0.66\t0.3\t50\n")
    session.keys(main, "ctrl+z")
    session.keys(main, "ctrl+c")
    expect("the selected row after Ctrl+Z", session.clipboard(), "LMR400\t0.85\t0.2\t900\n")
    session.keys(main, "ctrl+y")
    expect("after Ctrl+Y", copy_all_rows(session, main), HEADINGS + "RG58\t0.66\t0.5\t100\nRG213\t0.66\t0.3\t50\n")
    session.keys(main, "ctrl+z")
    session.keys(main, "ctrl+shift+z")
    expect("after Ctrl+Shift+Z", copy_all_rows(session, main),
           HEADINGS + "RG58\t0.66\t0.5\t100\nRG213\t0.66\t0.3\t50\n")
    session.keys(main, "Escape")
    session.keys(session.wait_window("quorlis"), "Escape")  # Escape on the question: No
    session.wait_gone("quorlis")
    session.keys(main, "Return")  # in the list: the window's OK
    session.keys(session.wait_window("quorlis"), "Return")  # changed: Enter is No
    session.wait_gone("quorlis")
    time.sleep(0.5)
    session.check_running()
    session.keys(main, "ctrl+z")  # back to the list as imported: nothing to lose
    session.keys(main, "Return")
    session.keys(session.wait_window("quorlis"), "Return")
    expect("the program's status after Enter on a clean list", session.wait_exit(), 0)


def check_paste_copy_and_undo_of_import(session):
    main = session.launch()
    session.keys(main, "ctrl+n")
    focus_list(session, main)
    session.set_clipboard(HEADINGS.replace("\n", "\r\n") + '"RG 8, ""thick"""\t0.66\t0.3\t50\r\nLMR200\t0.83\t0.5\t400\r\n')
    session.keys(main, "ctrl+v")
    pasted = HEADINGS + '"RG 8, ""thick"""\t0.66\t0.3\t50\nLMR200\t0.83\t0.5\t400\n'
    expect("after Paste", copy_all_rows(session, main), pasted)
    session.keys(main, "Up", "ctrl+c")
    expect("the first pasted row copied", session.clipboard(), '"RG 8, ""thick"""\t0.66\t0.3\t50\n')
    session.set_clipboard("RG6\t0.82\t0.19\t5\nRG59\tfast\t0.3\t50\n")
    session.keys(main, "ctrl+v")
    expect_one_box(session)
    expect("after the wrong Paste", copy_all_rows(session, main), pasted)
    other = os.path.join(session.work, "other.ini")
    write(other, cable_file([("X1", "1", "2", "3")]))
    choose_file(session, main, "ctrl+o", other)
    expect("after the Import", copy_all_rows(session, main), HEADINGS + "X1\t1\t2\t3\n")
    session.keys(main, "ctrl+z")
    expect("the Import undone", copy_all_rows(session, main), pasted)
    session.keys(main, "ctrl+z")
    # Copy All Rows is disabled while the list is empty: the clipboard keeps what it had.
    session.set_clipboard("untouched")
    expect("the Paste undone", copy_all_rows(session, main), "untouched")
    session.keys(main, "Escape")  # the menu stays open after a disabled item's key
    session.keys(main, "ctrl+y")
    expect("the Paste redone", copy_all_rows(session, main), pasted)
    session.kill_app()


def check_long_list_scrolled_to_its_last_row(session):
    path = os.path.join(session.work, "long.ini")
    write(path, cable_file([("RG%d" % n, "0.66", "0.5", "100") for n in range(1, 20001)]))
    main = session.launch(path)
    time.sleep(1.0)
    height, rows = coloured_rows(session, main)
    if not rows:
        raise Failure("the selected last row of the 20,000 is not on the screen (no highlighted row)")
    if min(rows) < height * 0.6:
        raise Failure("the highlighted row is at pixel row %d of %d, not at the bottom of the list" % (min(rows), height))
    session.kill_app()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    for tool in ("Xvfb", "xdotool", "xclip", "xwd"):
        if not shutil.which(tool):
            print("check_editor_x11: %s is missing: install the packages of scripts/packages-test.txt" % tool)
            return 1
    work = tempfile.mkdtemp(prefix="quorlis-x11-")
    session = Session(work, program)
    try:
        reason = session.start_display()
        if reason:
            print("check_editor_x11: SKIPPED: Xvfb cannot start here: %s" % reason)
            return SKIP
        checks = [check_new_list_add_and_export, check_delete_undo_redo_and_exit_question,
                  check_paste_copy_and_undo_of_import, check_long_list_scrolled_to_its_last_row]
        failed = 0
        for check in checks:
            try:
                check(session)
                print("check_editor_x11: %s: passed" % check.__name__)
            except (Failure, subprocess.SubprocessError) as failure:
                failed += 1
                print("check_editor_x11: %s: FAILED: %s" % (check.__name__, failure))
            finally:
                session.kill_app()
        return 1 if failed else 0
    finally:
        session.kill_app()
        session.stop_display()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
