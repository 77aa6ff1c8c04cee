"""A pupil plays the lesson's games: the first game shows in its movie, "停止"
holds it as it is and deaf to clicks, after "开始" it praises the right card,
a right press on the movie opens no menu, and the game buttons ">>" and "<<"
change to the other game and back, the page label following."""

import subprocess
import sys
import time

import lessons
from player import ScenarioFailure, run_scenario, wait_until

# The demo games' background (#e8f4ff): once most of the movie's rectangle
# has it, Ruffle has drawn the game.
GAME_BACKGROUND = bytes.fromhex("e8f4ff")
# The middle of the right card of the first demo game (the second of three),
# in the movie's own pixels.
RIGHT_CARD = (275, 195)


def game_button(p, caption):
    """The operation bar's game button; the page buttons share its caption
    but carry a description."""
    return wait_until(lambda: next((b for b in p.find_all("push button", caption) if not b.description), None), 10,
                      f"the game button {caption!r}")


def press_game_button(p, caption):
    button = game_button(p, caption)
    wait_until(lambda: button.getState().contains(p.pyatspi.STATE_ENABLED), 10, f"{caption!r} enabled")
    p.click(button)


def grab(p, area=None):
    """The screen's pixels as RGB bytes, or those of area (x, y, width, height)."""
    args = ["import", "-window", "root"]
    if area:
        args += ["-crop", "{2}x{3}+{0}+{1}".format(*area)]
    return subprocess.run(args + ["-depth", "8", "rgb:-"], env=p.env, check=True, capture_output=True, timeout=20).stdout


def share_of_background(pixels):
    count = sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == GAME_BACKGROUND)
    return count / max(1, len(pixels) // 3)


def changed_share(before, after):
    if len(before) != len(after):
        return 1.0
    changed = sum(1 for i in range(0, len(before), 3) if before[i:i + 3] != after[i:i + 3])
    return changed / max(1, len(before) // 3)


def shown_game(p, movie):
    """Waits for the game movie named movie and for Ruffle to draw it; its area."""
    frame = p.find("frame", "动画", movie, timeout=15)
    extents = frame.queryComponent().getExtents(0)
    area = (extents.x, extents.y, extents.width, extents.height)
    wait_until(lambda: share_of_background(grab(p, area)) > 0.5, 45, f"{movie} drawn")
    return area


def still(p, area, seconds=1.0):
    """The area's picture once it has stopped changing."""
    def settled():
        first = grab(p, area)
        time.sleep(seconds)
        return first if grab(p, area) == first else None
    return wait_until(settled, 15, "the movie to settle")


def expect_page(p, number):
    wanted = f"第{number}页/共2页"
    wait_until(lambda: p.find_all("label", wanted), 10, f"the page label {wanted!r}")


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "游戏乐园")
    area = shown_game(p, "game1.swf")
    expect_page(p, 1)
    question = still(p, area)

    # A stopped game stays as it was and does not answer the right card.
    x, y, width, height = area
    p.press("push button", "停止")
    time.sleep(1)
    if changed_share(question, grab(p, area)) > 0:
        raise ScenarioFailure("停止 changed the game's picture (a play button over it?)")
    p.xdotool("mousemove", x + RIGHT_CARD[0], y + RIGHT_CARD[1], "click", "1")
    time.sleep(1.5)
    if changed_share(question, grab(p, area)) > 0:
        raise ScenarioFailure("the game answered a click after 停止")

    # Playing again, it answers: the praise shows.
    p.press("push button", "开始")
    p.xdotool("mousemove", x + RIGHT_CARD[0], y + RIGHT_CARD[1], "click", "1")
    wait_until(lambda: changed_share(question, grab(p, area)) > 0.01, 10, "the game to praise the right card")

    # Ruffle's own menu would draw over the movie, a window of ours over the screen.
    p.xdotool("mousemove", x + width // 2, y + height - 20)
    still(p, area)
    before = grab(p)
    windows = p.app.childCount
    p.xdotool("click", "3")
    time.sleep(1.5)
    p.check_alive()
    if p.app.childCount != windows or changed_share(before, grab(p)) > 0:
        raise ScenarioFailure("a right press on the movie changed the screen (a menu opened)")

    press_game_button(p, ">>")
    area = shown_game(p, "game2.swf")
    expect_page(p, 2)
    if changed_share(question, still(p, area)) < 0.001:
        raise ScenarioFailure("the second game shows the same picture as the first")
    if game_button(p, ">>").getState().contains(p.pyatspi.STATE_ENABLED):
        raise ScenarioFailure(">> is still enabled on the last game")

    press_game_button(p, "<<")
    area = shown_game(p, "game1.swf")
    expect_page(p, 1)


if __name__ == "__main__":
    sys.exit(run_scenario("games", body, __doc__))
