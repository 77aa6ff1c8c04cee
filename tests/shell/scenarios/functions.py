"""One picture of every study function of the demo lesson, as it first shows,
full size, for comparing two builds of the player: each is a PNG in --out
named after the function."""

import os
import shutil
import sys
import time

import lessons
from player import run_scenario, wait_until

# The column's functions in order; the last three show movies, which need
# longer to draw their first frame.
FUNCTIONS = ("单词跟读", "单词听写", "句子跟读", "句子听辩", "角色互换", "课后练习", "音乐茶座", "动画欣赏", "游戏乐园")
MOVIES = ("音乐茶座", "动画欣赏", "游戏乐园")


def shoot(p, name):
    target = os.path.join(p.args.out, name + ".png")
    shutil.copyfile(p.screenshot(name), target)
    print("wrote " + target)


def body(p):
    os.makedirs(p.args.out, exist_ok=True)
    p.open_lesson(*lessons.HELLO)
    wait_until(lambda: lessons.HELLO_FIRST_WORD in p.texts("text"), 20, "the word preview")
    time.sleep(1.5)
    shoot(p, "单词预习")
    for function in FUNCTIONS:
        p.press("check box", function)
        time.sleep(5 if function in MOVIES else 1.5)
        shoot(p, function)


def more_args(parser):
    parser.add_argument("--out", required=True, help="where the pictures go")


if __name__ == "__main__":
    sys.exit(run_scenario("functions", body, __doc__, more_args))
