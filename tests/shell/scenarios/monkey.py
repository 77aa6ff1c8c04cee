"""Random clicks and keys on the player with a lesson open.

Fails when the player exits, when it writes a line to stderr that is not on
the list below, or when its resident memory (summed over its processes) grows
by 30 MB or more over the run. The seed is printed; `--seed` replays the same
choices (the player's timing still varies from run to run).

Memory is first measured after every study function and page of the lesson
has been shown once: the first video page loads the multimedia stack (about
150 MB here, two thirds of it shared libraries such as the software GL
driver), a cost paid once per process that would otherwise hide any real
growth or fail the run on whichever seed happens to reach that page.
"""

import collections
import os
import random
import re
import sys
import time

import lessons
from player import ScenarioFailure, run_scenario, wait_until

MEMORY_GROWTH_LIMIT = 30 * 1024 * 1024
# How long the player keeps a movie renderer that a hover started and no click
# took; the end of the run waits that long at most for it to go.
WARM_RENDERER_LIFE_S = 20

# The player itself prints nothing in normal use. These lines come from the
# test's own set-up, not from a fault of the player: Qt's X platform on a bare
# Xvfb with no window manager, and Qt's accessibility bridge when a widget is
# deleted while the monkey is asking about the window. The web engine says
# once that its sandbox is off, which the player does only when run as root
# (as CI runs it).
EXPECTED_STDERR = [
    re.compile(r"^qt\.qpa\.xcb: "),
    re.compile(r"^qt\.accessibility\.atspi: "),
    re.compile(r"^Sandboxing disabled by user\.$"),
    # Chromium inside the web engine logs its own passing troubles (a GPU
    # command buffer that it retries under software GL) in its own format.
    re.compile(r"^\[\d+:\d+:\d+/\d+\.\d+:(ERROR|WARNING|INFO):[\w.]+\(\d+\)\] "),
]

# Widgets that leave the lesson rather than exercise it: they close or
# minimise the window, or hand a page to the desktop's browser.
OFF_LIMITS = ("商城", "主页", "帮助", "最小化", "关闭", "退出")

STUDY_FUNCTIONS = ("单词跟读", "单词听写", "句子跟读", "句子听辩", "角色互换", "课后练习", "音乐茶座", "动画欣赏", "游戏乐园",
                   "单词预习")

AIMED_ROLES = ("push button", "check box", "text", "table cell", "spin button", "label", "frame")

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


def resident_by_process(root):
    """Resident bytes of the player and each of its processes, by pid and kind
    (the web engine's helpers say which they are on their command line)."""
    found = {}
    for pid in process_tree(root):
        try:
            with open(f"/proc/{pid}/status") as f:
                rss = next((int(line.split()[1]) * 1024 for line in f if line.startswith("VmRSS:")), 0)
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                # The engine's helpers rewrite theirs as one line.
                command = f.read().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        kinds = re.findall(r"--(?:utility-sub-)?type=(\S+)", command)
        found[pid] = ("/".join(kinds) or os.path.basename(command.split(" ", 1)[0]), rss)
    return found


def print_processes(when, processes):
    for pid, (kind, rss) in sorted(processes.items()):
        print(f"monkey:   {when}: {kind} ({pid}) {rss / 2 ** 20:.1f} MB")


def show_every_page(player, monkey):
    for function in STUDY_FUNCTIONS:
        player.press("check box", function)
        time.sleep(1)
        for _ in range(5):
            monkey.dismiss_dialogs()
            following = player.find_all("push button", ">", "后一页")
            if not following or not following[0].getState().contains(player.pyatspi.STATE_ENABLED):
                break
            player.click(following[0])
            time.sleep(1.5)
        monkey.dismiss_dialogs()


def unexpected_lines(lines):
    return [line for line in lines if line.strip() and not any(p.search(line) for p in EXPECTED_STDERR)]


class Monkey:
    def __init__(self, player, rng):
        self.p = player
        self.rng = rng
        self.actions = 0
        self.dismissed = collections.Counter()
        frame = player.app.getChildAtIndex(0)
        box = frame.queryComponent().getExtents(player.pyatspi.DESKTOP_COORDS)
        self.area = (box.x, box.y, box.width, box.height)
        self.frame = frame
        self.targets = []
        self.targets_refreshed = -10
        self.forbidden = []
        self.forbidden_nodes = []
        for name in OFF_LIMITS:
            for node in player.find_all("push button", name):
                self.forbidden_nodes.append(node)
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

    def aimed_point(self):
        """The middle of a widget that takes clicks, so the run reaches more
        of the player than blind clicks on a mostly empty page would."""
        if self.actions >= self.targets_refreshed + 10:
            self.targets_refreshed = self.actions
            try:
                self.targets = [node for node in self.p.walk() if self.p.role(node) in AIMED_ROLES]
            except Exception:  # a widget deleted while the tree was read; ask again next time
                self.targets_refreshed -= 10
        while self.targets:
            node = self.rng.choice(self.targets)
            try:
                x, y = self.p.centre(node)
            except Exception:  # gone since the list was made
                self.targets.remove(node)
                continue
            if self.allowed(x, y) and self.inside(x, y):
                return x, y
            self.targets.remove(node)
        return self.random_point()

    def off_limits_focused(self):
        focused = self.p.pyatspi.STATE_FOCUSED
        try:
            return any(node.getState().contains(focused) for node in self.forbidden_nodes)
        except Exception:  # a button gone with its window: nothing of it has focus
            return False

    def inside(self, x, y):
        x0, y0, w, h = self.area
        return x0 <= x < x0 + w and y0 <= y < y0 + h

    def dismiss_dialogs(self):
        """Answers any window over the main one, so the run goes on."""
        app = self.p.app
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is None or window == self.frame or not self.p.showing(window):
                continue
            self.dismissed[f"{window.getRoleName()} {window.name!r}"] += 1
            buttons = self.p.find_all("push button", "确定", within=window)
            if buttons:
                self.p.click(buttons[0])
            else:
                self.p.xdotool("key", "Escape")
            wait_until(lambda: not self.p.showing(window), 5, f"{window.name!r} to close")
            return True
        return False

    def step(self):
        choice = self.rng.random()
        if choice < 0.35:
            x, y = self.aimed_point()
            self.p.xdotool("mousemove", x, y, "click", "1")
        elif choice < 0.65:
            x, y = self.random_point()
            self.p.xdotool("mousemove", x, y, "click", "1")
        elif choice < 0.75:
            (x, y), (x2, y2) = self.random_point(), self.random_point()
            self.p.xdotool("mousemove", x, y, "mousedown", "1", "mousemove", x2, y2, "mouseup", "1")
        elif choice < 0.80:
            x, y = self.random_point()
            self.p.xdotool("mousemove", x, y, "click", "--repeat", "2", "1")
        else:
            key = self.rng.choice(KEYS)
            # Tab reaches the off-limits buttons too; a key would press them.
            if key in ("Return", "space") and self.off_limits_focused():
                key = "Tab"
            self.p.xdotool("key", key)
        self.actions += 1
        time.sleep(self.rng.uniform(0.03, 0.25))

    def run(self, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.p.check_alive()
            try:
                if self.dismiss_dialogs():
                    continue
            except ScenarioFailure:
                raise
            except Exception:  # a window closing while it is asked about
                continue
            self.step()


def back_to_word_preview(player, monkey):
    """Measures the end where the start was measured: a Flash page the monkey
    left open holds a live movie, which is not growth."""
    while monkey.dismiss_dialogs():
        pass
    try:
        player.press("check box", STUDY_FUNCTIONS[-1], timeout=3)
    except ScenarioFailure:
        return  # the monkey left the lesson; measure what is there
    time.sleep(2)
    wait_for_renderers_to_go(player)


def wait_for_renderers_to_go(player):
    """The pointer resting on a movie button starts a page renderer ahead of a
    click, and the player drops it when no click comes within its life. A
    renderer that outlives that is growth, and the measurement shows it."""
    deadline = time.monotonic() + WARM_RENDERER_LIFE_S + 5
    while time.monotonic() < deadline:
        kinds = [kind for kind, _ in resident_by_process(player.process.pid).values()]
        if "renderer" not in kinds:
            return
        time.sleep(0.5)


def body(player):
    args = player.args
    print(f"monkey: seed {args.seed}, {args.seconds:g} s", flush=True)
    player.open_lesson(*lessons.HELLO)
    wait_until(lambda: lessons.HELLO_FIRST_WORD in player.texts("text"), 15, "the word preview")
    monkey = Monkey(player, random.Random(args.seed))
    show_every_page(player, monkey)
    time.sleep(1)
    start = resident_by_process(player.process.pid)
    before = sum(rss for _, rss in start.values())
    monkey.run(args.seconds)
    player.check_alive()
    back_to_word_preview(player, monkey)
    end = resident_by_process(player.process.pid)
    after = sum(rss for _, rss in end.values())
    print(f"monkey: {monkey.actions} actions, {sum(monkey.dismissed.values())} windows dismissed, resident memory "
          f"{before / 2 ** 20:.1f} MB -> {after / 2 ** 20:.1f} MB")
    print_processes("start", start)
    print_processes("end", end)
    for window, count in monkey.dismissed.most_common():
        print(f"monkey:   {count} x {window}")
    if after - before >= MEMORY_GROWTH_LIMIT:
        raise ScenarioFailure(f"resident memory grew by {(after - before) / 2 ** 20:.1f} MB (seed {args.seed})")
    lines = [line for line in player.stderr_lines() if line.strip()]
    unexpected = unexpected_lines(lines)
    print(f"monkey: {len(lines) - len(unexpected)} expected and {len(unexpected)} unexpected lines on stderr")
    if unexpected:
        raise ScenarioFailure(f"unexpected lines on stderr (seed {args.seed}):\n" + "\n".join(unexpected[:20]))


def arguments(parser):
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--seed", type=int, default=random.SystemRandom().randrange(2 ** 32))


if __name__ == "__main__":
    sys.exit(run_scenario("monkey", body, __doc__, arguments))
