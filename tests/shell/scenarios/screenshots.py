"""Pictures of the real player for the user guide, taken on the demo
courseware: the start screen of a pupil who has been here before, the
catalogue, the word preview, follow-reading with a word lit, dictation
counted with its misspellings explained, and the score dialog. Each is a PNG
in --out."""

import os
import subprocess
import sys
import time

import lessons
from player import run_scenario, wait_until


def shoot(p, name):
    """The screen as the pupil sees it, kept small: the window fills it."""
    raw = p.screenshot(name)
    target = os.path.join(p.args.out, name + ".png")
    subprocess.run(["convert", raw, "-resize", "1024x", "-colors", "256", "-strip", "PNG8:" + target], check=True)
    print("wrote " + target)


def remember_hello(p):
    """The player's settings as a pupil leaves them who has opened the lesson."""
    with open(p.path("config", "Orvane.ini"), "w") as f:
        f.write(f"[General]\nLastLesson={lessons.HELLO_CODE}\n")


def body(p):
    os.makedirs(p.args.out, exist_ok=True)
    p.find("push button", "继续学习", timeout=20)
    time.sleep(1.5)
    shoot(p, "start")
    for name in lessons.HELLO[:3]:
        p.click(p.find("table cell", name, timeout=15))
    p.find("table cell", lessons.HELLO[3], timeout=15)
    time.sleep(1)
    shoot(p, "catalogue")

    p.open_lesson(lessons.HELLO[3])
    wait_until(lambda: lessons.HELLO_FIRST_WORD in p.texts("text"), 20, "the word preview")
    time.sleep(1)
    shoot(p, "word-preview")

    p.press("check box", "句子跟读")
    p.press("push button", "开始")
    # A few words into the first sentence, one of them lit.
    time.sleep(2.2)
    shoot(p, "follow-reading")
    p.press("push button", "停止")

    p.record_and_compare()
    p.find("dialog", "原音与录音对比", timeout=10)
    time.sleep(0.5)
    shoot(p, "score")
    p.press("push button", "确定")
    wait_until(lambda: not p.find_all("dialog", "原音与录音对比"), 5, "the score dialog to close")

    p.press("check box", "单词听写")
    # Two misspelt, so the picture shows how wrong letters are explained.
    for place, answer in enumerate(("hello", "hi", "nmae", "frend"), 1):
        p.type_into(p.find("text", f"答案 {place}"), answer)
    p.press("push button", "统计")
    p.find("dialog", "统计提示", timeout=10)
    time.sleep(0.5)
    shoot(p, "dictation")
    p.press("push button", "确定")


def more_args(parser):
    parser.add_argument("--out", required=True, help="where the pictures go")


if __name__ == "__main__":
    sys.exit(run_scenario("screenshots", body, __doc__, more_args, prepare=remember_hello))
