"""Random clicks and keys on the player with a lesson open.

Fails when the player exits, when it writes a line to stderr that is not on
the list below, or when its resident memory (summed over its processes) grows
by 30 MB or more between the lesson opening and the end of the run. The seed
is printed; `--seed` replays the same choices (the player's timing still
varies from run to run).
"""

import os
import random
import re
import sys
import time

import lessons
from player import Player, ScenarioFailure, parse_args, report_failure, wait_until

MEMORY_GROWTH_LIMIT = 30 * 1024 * 1024

# Lines the player or its libraries print in normal use, none of them a fault.
EXPECTED_STDERR = [
    # Qt under Xvfb with no window manager and no input method.
    re.compile(r"^qt\.qpa\.(xcb|window|wayland)"),
    # Qt's accessibility bridge when a widget goes away during a query.
    re.compile(r"^qt\.accessibility\.atspi"),
]

# Widgets that leave the lesson rather than exercise it: they close or
# minimise the window, or hand a page to the desktop's browser.
OFF_LIMITS = ("商城", "主页", "帮助", "最小化", "关闭", "退出")

KEYS = ("Return", "Tab", "space", "Escape", "BackSpace", "Delete", "Left", "Right", "Up", "Down", "Home", "End",
        "Page_Up", "Page_Down", "a", "e", "h", "o", "1", "2")


def process_tree(root):
    """The pid and every descendant of it."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                # The command name may hold blanks and parentheses; the fields
                # after its closing one are fixed.
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, stack = [], [root]
    while stack:
        pid = stack.pop()
        found.append(pid)
        stack.extend(children.get(pid, []))
    return found


def resident_bytes(root):
    total = 0
    for pid in process_tree(root):
        try:
            with open(f"/proc/{pid}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1]) * 1024
        except OSError:
            pass
    return total


def unexpected_lines(lines):
    return [line for line in lines if line.strip() and not any(p.search(line) for p in EXPECTED_STDERR)]


class Monkey:
    def __init__(self, player, rng):
        self.p = player
        self.rng = rng
        self.actions = 0
        self.dismissed = 0
        frame = player.app.getChildAtIndex(0)
        box = frame.queryComponent().getExtents(player.pyatspi.DESKTOP_COORDS)
        self.area = (box.x, box.y, box.width, box.height)
        self.frame = frame
        self.forbidden = []
        for name in OFF_LIMITS:
            for node in player.find_all("push button", name):
                b = node.queryComponent().getExtents(player.pyatspi.DESKTOP_COORDS)
                # A margin, so a click on the edge of one is re-aimed too.
                self.forbidden.append((b.x - 4, b.y - 4, b.x + b.width + 4, b.y + b.height + 4))

    def allowed(self, x, y):
        return not any(left <= x < right and top <= y < bottom for left, top, right, bottom in self.forbidden)

    def random_point(self):
        x0, y0, w, h = self.area
        while True:
            x, y = x0 + self.rng.randrange(w), y0 + self.rng.randrange(h)
            if self.allowed(x, y):
                return x, y

    def dismiss_dialogs(self):
        """Answers any window over the main one, so the run goes on."""
        app = self.p.app
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is None or window == self.frame or not self.p.showing(window):
                continue
            buttons = self.p.find_all("push button", "确定", within=window)
            if buttons:
                buttons[0].queryAction().doAction(0)
            else:
                self.p.xdotool("key", "Escape")
            self.dismissed += 1
            return True
        return False

    def step(self):
        choice = self.rng.random()
        if choice < 0.65:
            x, y = self.random_point()
            self.p.xdotool("mousemove", x, y, "click", "1")
        elif choice < 0.75:
            (x, y), (x2, y2) = self.random_point(), self.random_point()
            self.p.xdotool("mousemove", x, y, "mousedown", "1", "mousemove", x2, y2, "mouseup", "1")
        elif choice < 0.80:
            x, y = self.random_point()
            self.p.xdotool("mousemove", x, y, "click", "--repeat", "2", "1")
        else:
            self.p.xdotool("key", self.rng.choice(KEYS))
        self.actions += 1
        time.sleep(self.rng.uniform(0.03, 0.25))

    def run(self, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.p.check_alive()
            try:
                if self.dismiss_dialogs():
                    continue
            except Exception:  # a window closing while it is asked about
                continue
            self.step()


def main():
    def extra(parser):
        parser.add_argument("--seconds", type=float, default=30)
        parser.add_argument("--seed", type=int, default=None)
    args = parse_args("random input on the player", extra)
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(2 ** 32)
    print(f"monkey: seed {seed}, {args.seconds:g} s", flush=True)
    player = Player(args.player, args.home, args.work, "monkey", args.artifacts or args.work)
    failed = False
    try:
        player.start()
        player.open_lesson(*lessons.HELLO)
        wait_until(lambda: lessons.HELLO_FIRST_WORD in player.texts("text"), 15, "the word preview")
        time.sleep(1)
        before = resident_bytes(player.process.pid)
        monkey = Monkey(player, random.Random(seed))
        monkey.run(args.seconds)
        player.check_alive()
        after = resident_bytes(player.process.pid)
        growth = after - before
        print(f"monkey: {monkey.actions} actions, {monkey.dismissed} dialogs dismissed, resident memory "
              f"{before / 2 ** 20:.1f} MB -> {after / 2 ** 20:.1f} MB")
        if growth >= MEMORY_GROWTH_LIMIT:
            raise ScenarioFailure(f"resident memory grew by {growth / 2 ** 20:.1f} MB")
        unexpected = unexpected_lines(player.stderr_lines())
        if unexpected:
            raise ScenarioFailure("unexpected lines on stderr:\n" + "\n".join(unexpected[:20]))
    except Exception as error:
        failed = True
        report_failure(player, "monkey", error)
        print(f"monkey: replay with --seed {seed}", file=sys.stderr)
    finally:
        player.stop()
        if not failed and not args.keep:
            player.remove_folders()
    print(f"monkey: {'FAILED' if failed else 'passed'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
