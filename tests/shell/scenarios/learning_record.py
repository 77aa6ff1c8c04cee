"""The learning record: two readings scored with "对比" and one page counted
with "统计" show in "学习记录" as the lesson's row with its latest score, one
line in the chart, and the missed words to practise again; the sentence leads
back to its study function."""

import re
import sys

import lessons
from player import ScenarioFailure, run_scenario, wait_until

SCORE = re.compile(r"对比分值:(\d+)")
SERIES = re.compile(r"(\d+) 条曲线")


def compare(p):
    p.record_and_compare()
    dialog = p.find("dialog", "原音与录音对比", timeout=10)
    text = "\n".join(p.text_of(label) for label in p.find_all("label", within=dialog))
    score = SCORE.search(text)
    if not score:
        raise ScenarioFailure(f"the score dialog shows no score: {text!r}")
    p.press("push button", "确定")
    wait_until(lambda: not p.find_all("dialog", "原音与录音对比"), 5, "the score dialog to close")
    return int(score.group(1))


def body(p):
    p.open_lesson(*lessons.HELLO)
    p.press("check box", "句子跟读")
    p.press("push button", "开始")
    p.press("push button", "停止", timeout=15)
    scores = [compare(p), compare(p)]
    print(f"scores {scores}")

    p.press("check box", "单词听写")
    edit = p.find("text", "答案 1")
    p.type_into(edit, "helo")
    wait_until(lambda: p.text_of(edit) == "helo", 5, "'helo' in 答案 1")
    p.press("push button", "统计")
    p.find("dialog", "统计提示", timeout=10)
    p.press("push button", "确定")
    wait_until(lambda: not p.find_all("dialog", "统计提示"), 5, "the counts dialog to close")

    p.press("push button", "学习记录")
    window = p.find("dialog", "学习记录", timeout=10)
    table = p.find("table", "课文记录", within=window)
    cells = [p.text_of(cell) for cell in p.find_all("table cell", within=table)]
    row = cells[cells.index(lessons.HELLO[-1]):][:5] if lessons.HELLO[-1] in cells else []
    if len(row) < 5:
        raise ScenarioFailure(f"the lesson table has no row of {lessons.HELLO[-1]!r}: {cells!r}")
    if row[3] != str(max(scores)) or row[4] != str(scores[-1]):
        raise ScenarioFailure(f"best and latest read {row[3]!r} and {row[4]!r}, not {max(scores)} and {scores[-1]}")

    chart = wait_until(lambda: next((n for n in p.walk(window) if n.name == "对比得分图"), None), 5, "the chart")
    series = SERIES.search(chart.description or "")
    if not series or int(series.group(1)) != 1:
        raise ScenarioFailure(f"the chart tells {chart.description!r}, not one line")

    practise = p.find("list", "再练一练", within=window)
    # Items scrolled out of the list's view count too.
    items = [p.text_of(item) for item in p.walk(practise, only_showing=False) if p.role(item) == "list item"]
    if not any(item.startswith("单词：hello") for item in items):
        raise ScenarioFailure(f"the misspelt 'hello' is not offered to practise again: {items!r}")
    print(f"table row {row}, practise {len(items)} items")

    # The sentence read twice leads back to "句子跟读" from the dictation.
    p.click(p.find("list item", re.compile("^句子："), within=practise))
    wait_until(lambda: not p.find_all("dialog", "学习记录"), 5, "the record window to close")
    p.find("push button", "对比", timeout=10)


if __name__ == "__main__":
    sys.exit(run_scenario("learning_record", body, __doc__))
