"""Descriptions of the demo lessons' Flash movies, in the JSON that
`ovtool swf` turns into movies when the demo is built (make-movies.sh)."""

import json
import os

INK, PURPLE, GREEN, RED = "#000080", "#800080", "#008000", "#c00000"
CARD_COLOURS = ("#e05a4f", "#4f8fe0", "#f0b43c")
OFF_STAGE = {"x": -60, "y": -60}


def write(path, spec):
    """Writes the description as <path>.json, beside the movie it becomes."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".json", "w", encoding="utf-8") as f:
        json.dump(spec, f, ensure_ascii=False, indent=1)


def text(id, words, width, height, size, color=INK, align="center"):
    return {"id": id, "type": "text", "text": words, "width": width, "height": height, "size": size,
            "color": color, "align": align}


def at(id, x, y):
    return {"id": id, "x": x, "y": y}


def animation(title, lines):
    """A little street scene: the sun rises, a cloud drifts by and the
    lesson's first lines are shown one after the other."""
    objects = [
        {"id": "ground", "type": "rect", "width": 550, "height": 80, "color": "#6cbf4a"},
        {"id": "house", "type": "rect", "width": 120, "height": 90, "color": "#e07050"},
        {"id": "door", "type": "rect", "width": 30, "height": 50, "color": "#7a4a2a"},
        {"id": "sun", "type": "circle", "radius": 40, "color": "#ffd23c"},
        {"id": "cloud", "type": "circle", "radius": 30, "color": "#ffffff"},
        {"id": "cloud2", "type": "circle", "radius": 24, "color": "#ffffff"},
        text("title", title, 500, 40, 24, PURPLE),
    ] + [text(f"line{i}", line, 500, 36, 22) for i, line in enumerate(lines)]
    frames = [
        {"show": [at("ground", 0, 320), at("house", 380, 230), at("door", 425, 270), at("sun", 60, 330),
                  at("cloud", -60, 90), at("cloud2", -20, 100), at("title", 25, 20)]},
        {"show": [at("sun", 275, 110), at("cloud", 120, 90), at("cloud2", 160, 100)], "steps": 24},
    ]
    shown = None
    for i in range(len(lines)):
        entry = {"show": [at(f"line{i}", 25, 180), at("cloud", 240 + 140 * i, 90),
                          at("cloud2", 280 + 140 * i, 100)], "steps": 18}
        if shown:
            entry["hide"] = [shown]
        shown = f"line{i}"
        frames.append(entry)
    return {"width": 550, "height": 400, "frameRate": 12, "background": "#bfe6ff", "objects": objects,
            "frames": frames}


def game(word, choices, right):
    """Click the right picture: `choices` are (word, meaning) cards, the one
    at index `right` matches `word`. A right click praises, a wrong one asks
    to try again."""
    objects = [
        text("ask", "Click the right picture. 点一点，选出正确的图片。", 520, 30, 18, PURPLE),
        text("word", word, 300, 50, 36, RED),
        text("praise", "好! Well done!", 400, 40, 28, GREEN),
        text("retry", "再试一次 Try again", 400, 40, 28, RED),
        {"id": "star", "type": "circle", "radius": 24, "color": "#ffd23c"},
    ]
    cards = []
    for i, (card_word, meaning) in enumerate(choices):
        objects += [
            {"id": f"back{i}", "type": "rect", "width": 150, "height": 170, "color": "#fff4d6"},
            {"id": f"spot{i}", "type": "circle", "radius": 40, "color": CARD_COLOURS[i % len(CARD_COLOURS)]},
            text(f"meaning{i}", meaning, 140, 34, 22),
            {"id": f"card{i}", "type": "button", "goto": "right" if i == right else "wrong", "play": i == right,
             "parts": [at(f"back{i}", 0, 0), at(f"spot{i}", 75, 65), at(f"meaning{i}", 5, 122)]},
        ]
        cards.append(at(f"card{i}", 30 + 170 * i, 110))
    frames = [
        {"label": "question", "show": [at("ask", 15, 10), at("word", 125, 45), at("star", **OFF_STAGE)] + cards,
         "stop": True},
        {"label": "right", "show": [at("praise", 75, 300), at("star", 490, 320)], "steps": 8, "stop": True},
        {"label": "wrong", "hide": ["praise"], "show": [at("retry", 75, 300), at("star", **OFF_STAGE)]},
    ]
    return {"width": 550, "height": 400, "frameRate": 12, "background": "#e8f4ff", "objects": objects,
            "frames": frames}


def song(title):
    """The song's title over three notes bobbing up and down, round and round."""
    objects = [text("title", title, 300, 36, 22, PURPLE)]
    notes = []
    for i, colour in enumerate(CARD_COLOURS):
        objects.append({"id": f"note{i}", "type": "circle", "radius": 12, "color": colour})
        notes.append(i)
    up = [at(f"note{i}", 70 + 90 * i, 70 if i % 2 == 0 else 105) for i in notes]
    down = [at(f"note{i}", 70 + 90 * i, 105 if i % 2 == 0 else 70) for i in notes]
    return {"width": 320, "height": 130, "frameRate": 12, "background": "#ffe6f0", "objects": objects, "loop": True,
            "frames": [{"show": [at("title", 10, 8)] + down}, {"show": up, "steps": 6}, {"show": down, "steps": 6}]}
