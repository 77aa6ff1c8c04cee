"""Runs the built player in a sandbox of its own and drives it as a pupil would.

Every run gets its own folders, X display, D-Bus session, accessibility bus
and PulseAudio server, so runs never meet, not even under `ctest -j`. The
player is reached through AT-SPI (pyatspi, which only the system interpreter
has) and, where a real pointer matters, through xdotool.
"""

import argparse
import array
import ctypes
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
import wave

SCREEN = (1280, 800)
APP_NAME = "ovplayer"

# Variables that would lead a sandboxed process to the caller's desktop,
# bus or sound server.
_LEAKY_VARIABLES = ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                    "PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE", "XAUTHORITY", "SESSION_MANAGER")


class ScenarioFailure(Exception):
    pass


def _die_with_parent():
    # A killed test must not leave servers behind it.
    libc = ctypes.CDLL("libc.so.6", use_errno=True)
    libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def wait_until(predicate, timeout, what, interval=0.1):
    """Returns the first true value of predicate, or fails naming what it waited for."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = predicate()
        except ScenarioFailure:
            raise
        except Exception:  # the tree changes under our feet while the player works
            value = None
        if value:
            return value
        if time.monotonic() >= deadline:
            raise ScenarioFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def peak_of_raw(path):
    """Largest absolute sample of a raw signed 16-bit little-endian file."""
    samples = array.array("h")
    with open(path, "rb") as f:
        data = f.read()
    samples.frombytes(data[:len(data) - len(data) % 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return max((abs(s) for s in samples), default=0)


def write_tone(path, seconds=2.0, rate=16000, hz=440):
    """A plain sine tone, something for the microphone to hear."""
    frames = array.array("h", (int(8000 * math.sin(2 * math.pi * hz * i / rate)) for i in range(int(rate * seconds))))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(frames.tobytes())


class Player:
    """One sandboxed player: start(), the finders and actions, stop()."""

    def __init__(self, player, demo_home, work_dir, name, artifacts):
        self.player_path = player
        self.demo_home = demo_home
        self.name = name
        self.artifacts = artifacts
        os.makedirs(work_dir, exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix=name + "-", dir=work_dir)
        self.env = {k: v for k, v in os.environ.items() if k not in _LEAKY_VARIABLES and not k.startswith("XDG_")}
        self.helpers = []
        self.process = None
        self.app = None
        self.pyatspi = None

    # ---- start and stop -------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def start(self, prepare=None):
        """prepare(player), when given, may change the copied courseware folder before the player starts."""
        for sub in ("home", "config", "state", "run", "pulse"):
            os.makedirs(self.path(sub), mode=0o700)
        self.ov_home = self.path("ovhome")
        shutil.copytree(self.demo_home, self.ov_home, symlinks=True)
        if prepare:
            prepare(self)
        self.env.update(HOME=self.path("home"), XDG_CONFIG_HOME=self.path("config"),
                        XDG_STATE_HOME=self.path("state"), XDG_RUNTIME_DIR=self.path("run"))
        self._start_display()
        self._start_session_bus()
        self._start_sound_server()
        self._start_player()

    def _spawn(self, args, log, **kwargs):
        with open(self.path(log), "wb") as out:
            process = subprocess.Popen(args, env=self.env, stdout=out, stderr=subprocess.STDOUT,
                                       stdin=subprocess.DEVNULL, start_new_session=True, preexec_fn=_die_with_parent,
                                       **kwargs)
        self.helpers.append(process)
        return process

    def _start_display(self):
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                     "-nolisten", "tcp", "-noreset"], "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise ScenarioFailure("Xvfb did not start; see " + self.path("xvfb.log"))
        self.env["DISPLAY"] = ":" + number

    def _start_session_bus(self):
        read_end, write_end = os.pipe()
        self._spawn(["dbus-daemon", "--session", "--nofork", f"--print-address={write_end}"], "dbus.log",
                    pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            address = pipe.readline().strip()
        if not address:
            raise ScenarioFailure("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], "atspi.log")

    def _start_sound_server(self):
        socket = self.path("pulse", "native")
        with open(self.path("pulse", "ci.pa"), "w") as f:
            f.write(f"load-module module-native-protocol-unix auth-anonymous=1 socket={socket}\n"
                    "load-module module-null-sink sink_name=speakers\n"
                    "load-module module-null-sink sink_name=micfeed\n"
                    "load-module module-remap-source master=micfeed.monitor source_name=mic\n"
                    "set-default-sink speakers\n"
                    "set-default-source mic\n")
        self.env["PULSE_SERVER"] = "unix:" + socket
        self._spawn(["pulseaudio", "-n", "-F", self.path("pulse", "ci.pa"), "--daemonize=no", "--exit-idle-time=-1",
                     "--disallow-exit", "--disable-shm=yes", "--log-target=stderr"], "pulse.log")
        wait_until(lambda: subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL).returncode == 0, 10, "the sound server")
        # A sink with no stream on it makes the first callback of a new one wait.
        for sink in ("speakers", "micfeed"):
            self._spawn(["pacat", "-d", sink, "/dev/zero"], f"pacat-{sink}.log")

    def _start_player(self):
        self.env.update(OV_HOME=self.ov_home, OV_AUDIO_DRIVER="pulseaudio", QT_QPA_PLATFORM="xcb",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG="C.UTF-8")
        self.stderr_path = self.path("player.stderr")
        with open(self.path("player.stdout"), "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen([self.player_path], env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                            stderr=err, start_new_session=True, preexec_fn=_die_with_parent)
        # pyatspi finds its bus through the session bus, so it may only be
        # loaded once ours is in place.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["DISPLAY"] = self.env["DISPLAY"]
        import pyatspi
        self.pyatspi = pyatspi
        self.app = wait_until(self._find_app, 40, "the player on the accessibility bus", interval=0.5)
        # Clicks go to the X window, which may be mapped a little after the
        # accessible one appears.
        wait_until(self._window_shown, 20, "the player's window")

    def _find_app(self):
        self.check_alive()
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == APP_NAME and app.childCount > 0:
                return app
        return None

    def _window_shown(self):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)], env=self.env,
                              capture_output=True, text=True).stdout.strip()

    def check_alive(self):
        if self.process.poll() is not None:
            raise ScenarioFailure(f"the player exited with status {self.process.returncode}")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for helper in reversed(self.helpers):
            try:
                os.killpg(helper.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                helper.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(helper.pid, signal.SIGKILL)
                helper.wait()

    def remove_folders(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    # ---- finding --------------------------------------------------------

    def role(self, node):
        return node.getRoleName()

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)

    def walk(self, node=None, only_showing=True):
        node = node or self.app
        stack = [node]
        while stack:
            current = stack.pop()
            if current is None or (only_showing and current is not self.app and not self.showing(current)):
                continue
            yield current
            stack.extend(current.getChildAtIndex(i) for i in reversed(range(current.childCount)))

    def find_all(self, role, name=None, description=None, within=None):
        """Showing widgets of a role whose name (a string, or a compiled pattern) matches."""
        found = []
        for node in self.walk(within):
            if self.role(node) != role:
                continue
            if name is not None and not _matches(name, node.name):
                continue
            if description is not None and not _matches(description, node.description):
                continue
            found.append(node)
        return found

    def find(self, role, name=None, description=None, timeout=10, within=None):
        what = f"{role} {name!r}" + (f" ({description!r})" if description else "")
        return wait_until(lambda: next(iter(self.find_all(role, name, description, within)), None), timeout, what)

    def text_of(self, node):
        try:
            text = node.queryText()
            return text.getText(0, text.characterCount)
        except NotImplementedError:
            return node.name

    def texts(self, role=None):
        return [self.text_of(n) for n in self.walk() if role is None or self.role(n) == role]

    def dump(self):
        """The showing part of the tree, one widget a line, for failure reports."""
        lines = []

        def visit(node, depth):
            if node is None or (depth > 0 and not self.showing(node)):
                return
            extra = ""
            if self.role(node) in ("text", "label"):
                extra = " = " + repr(self.text_of(node))
            lines.append("  " * depth + f"[{self.role(node)}] {node.name!r}{extra}")
            for i in range(node.childCount):
                visit(node.getChildAtIndex(i), depth + 1)
        visit(self.app, 0)
        return "\n".join(lines)

    # ---- acting ---------------------------------------------------------

    def centre(self, node):
        box = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return box.x + box.width // 2, box.y + box.height // 2

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, stdout=subprocess.DEVNULL)

    def click(self, node):
        """A real pointer click in the middle of the widget."""
        x, y = self.centre(node)
        self.xdotool("mousemove", x, y, "click", "1")

    def press(self, role, name, description=None, timeout=10):
        """Clicks a button found by role and caption once it is enabled."""
        node = self.find(role, name, description, timeout)
        wait_until(lambda: node.getState().contains(self.pyatspi.STATE_ENABLED), timeout, f"{name!r} enabled")
        self.click(node)
        return node

    def type_into(self, node, text):
        self.click(node)
        self.xdotool("type", "--delay", "20", text)

    def screenshot(self, name):
        os.makedirs(self.artifacts, exist_ok=True)
        path = os.path.join(self.artifacts, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=20)
        return path

    def stderr_lines(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace").splitlines()

    # ---- the pupil's usual steps ----------------------------------------

    def open_lesson(self, *path):
        """Clicks down the catalogue tree, one level at a time, to a lesson."""
        for name in path:
            cell = self.find("table cell", name, timeout=15)
            self.click(cell)
        wait_until(lambda: self.find_all("check box", "句子跟读"), 30, "the study-function column")

    def record_and_compare(self, reading=None):
        """Records a tone (or the WAV file `reading`) as the pupil's reading, plays
        it back once it is saved in Records, and asks for the score."""
        self.press("push button", "录音")
        voice = self.speak_into_microphone(reading=reading)
        voice.wait(10)
        time.sleep(0.5)
        self.press("push button", "播放")
        records = os.path.join(self.ov_home, "Records")
        wait_until(lambda: [f for f in os.listdir(records) if f.endswith(".wav")], 5, "the recording saved in Records")
        time.sleep(1)
        self.press("push button", "对比")

    def record_sink(self, name):
        """Starts recording what the speakers play; returns the raw file and its process."""
        path = self.path(name + ".raw")
        recorder = self._spawn(["parec", "-d", "speakers.monitor", "--format=s16le", "--rate=16000", "--channels=1",
                                "--raw", path], name + ".log")
        return path, recorder

    def speak_into_microphone(self, seconds=2.0, reading=None):
        tone = reading or self.path("tone.wav")
        if not os.path.exists(tone):
            write_tone(tone, seconds)
        return self._spawn(["paplay", "-d", "micfeed", tone], "paplay.log")


def _matches(pattern, value):
    if hasattr(pattern, "search"):
        return pattern.search(value or "") is not None
    return value == pattern


def parse_args(description, extra=None):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--player", required=True, help="the built ovplayer")
    parser.add_argument("--home", required=True, help="the demo program folder to copy")
    parser.add_argument("--work", default=tempfile.gettempdir(), help="where each run makes its folders")
    parser.add_argument("--artifacts", default=None, help="where screenshots of failures go")
    parser.add_argument("--keep", action="store_true", help="keep the run's folders")
    if extra:
        extra(parser)
    return parser.parse_args()


def run_scenario(name, body, description=None, extra_args=None, prepare=None, cleanup=None):
    """Starts a player, runs body(player) and reports; the exit status tells ctest.
    The parsed arguments are at player.args; prepare(player) runs before the
    player starts, cleanup(player) once it has stopped."""
    args = parse_args(description or name, extra_args)
    player = Player(args.player, args.home, args.work, name, args.artifacts or args.work)
    player.args = args
    started = time.monotonic()
    failed = False
    try:
        player.start(prepare)
        body(player)
        player.check_alive()
    except Exception as error:
        failed = True
        report_failure(player, name, error)
    finally:
        player.stop()
        if cleanup:
            cleanup(player)
        if not failed and not args.keep:
            player.remove_folders()
    print(f"{name}: {'FAILED' if failed else 'passed'} in {time.monotonic() - started:.1f} s")
    return 1 if failed else 0


def report_failure(player, name, error):
    print(f"{name}: {error}", file=sys.stderr)
    if not isinstance(error, ScenarioFailure):
        traceback.print_exc()
    if player.app is not None:
        try:
            print("What the accessibility tree showed:\n" + player.dump(), file=sys.stderr)
        except Exception as dump_error:  # the player may be gone
            print(f"(the tree could not be read: {dump_error})", file=sys.stderr)
    if "DISPLAY" in player.env:
        try:
            print("Screenshot: " + player.screenshot(name), file=sys.stderr)
        except Exception as shot_error:
            print(f"(no screenshot: {shot_error})", file=sys.stderr)
    if player.process is not None:
        print("Player stderr:\n" + "\n".join(player.stderr_lines()[-30:]), file=sys.stderr)
    print("Run folder kept: " + player.dir, file=sys.stderr)
