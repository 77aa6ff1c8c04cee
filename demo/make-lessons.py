#!/usr/bin/python3
"""Writes the demo lessons' pages from their compact sources:
    make-lessons.py DEMO OUT
For every DEMO/lessons/<name>.lesson (with DEMO/words/<name>.tsv) it writes
OUT/lessons/<name>/Class/: one page per study function ("*.ov.xml", UTF-8, turned into
encrypted GBK pages when the demo is built), the function index
"OVFunction.ind" and the descriptions of the Flash movies ("*.swf.json",
turned into movies by make-movies.sh); the window's decorative
pictures go to OUT/home/Images. What the pages need made by
other tools is listed for make-media.sh: OUT/speech.tsv (file, voice, speed,
text), OUT/songs.tsv (file), OUT/pictures.tsv (file, kind, text)."""

import os
import sys
from xml.sax.saxutils import escape, quoteattr

import movies

NAVY, GREEN, RED, PURPLE, BLACK = 8388608, 32768, 255, 8388736, 0
WORD_VOICE = "en-gb"
CARD = 100


def read_words(path):
    """(word, meaning) pairs; the meaning cut to its first sense, without a
    closing note in brackets."""
    words = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line and not line.startswith("#"):
                fields = line.split("\t")
                sense = fields[2].split("；")[0]
                if sense.endswith("）"):
                    sense = sense[: sense.rindex("（")]
                words.append((fields[0], sense))
    return words


def read_lesson(path):
    lesson = {"roles": [], "lines": [], "sing": [], "discern": [], "test": []}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            key, _, rest = line.partition(" ")
            if key == "role":
                name, _, voice = rest.partition(" = ")
                lesson["roles"].append((name, voice))
            elif key == "line":
                role, _, text = rest.partition(": ")
                lesson["lines"].append((role, text))
            elif key == "sing":
                lesson["sing"].append(rest)
            elif key in ("discern", "test"):
                lesson[key] = [item.split() for item in rest.split("|")]
            elif key == "dictation":
                lesson[key] = rest.split()
            elif key in ("song", "arrange"):
                lesson[key] = rest
            else:
                raise SystemExit(f"{path}: unknown line {line!r}")
    return lesson


def text_width(text, size):
    """What a word takes on the page at `size` points, with room to spare."""
    return int(len(text) * size * 0.9) + size * 2 // 3


class Page:
    """One lesson document: element pools and rule sections, filled in order."""

    def __init__(self):
        self.pools = {name: [] for name in ("alls", "alli", "allbutton", "allradio", "alledit", "allShape", "allFlash")}
        self.rules = {}
        self.next_sentence = 1
        self.next_picture = 1
        self.next_edit = 1

    def rule(self, section, element):
        self.rules.setdefault(section, []).append(element)

    def sentence(self, words, audio="", size=20, face="Arial", color=NAVY, rule=True, can_move=False):
        """words: (text, top, left) triples; returns the sentence Id. A
        sentence with a sound plays when one of its words is clicked."""
        sid = self.next_sentence
        self.next_sentence += 1
        rule_id = sid if (rule and audio) else -1
        body = "".join(
            f'<w Id="{i}" Top="{top}" Left="{left}" Visible="True" CanMove="{can_move}">{escape(text)}</w>'
            for i, (text, top, left) in enumerate(words))
        self.pools["alls"].append(
            f'<s Id="{sid}" Audio={quoteattr(audio)} Font_Size="{size}" Font_Style={quoteattr(face)} '
            f'Font_Color="{color}" RuleStyle="0" RuleId="{rule_id}">{body}</s>')
        if rule_id != -1:
            self.rule("sentences", f'<r Id="{rule_id}">[0,0,{sid},1]</r>')
        return sid

    def line(self, text, top, left, audio="", size=20, face="Arial", color=NAVY, rule=True, can_move=False):
        """A sentence laid out word by word from `left`; returns (Id, right edge)."""
        words = []
        for word in text.split():
            words.append((word, top, left))
            left += text_width(word, size)
        return self.sentence(words, audio, size, face, color, rule, can_move), left

    def picture(self, name, top, left, width, height, visible=True, group=-1, key=""):
        pid = self.next_picture
        self.next_picture += 1
        self.pools["alli"].append(
            f'<p Id="{pid}" Name={quoteattr(name)} Visible="{visible}" Group="{group}" RuleId="-1" '
            f'Key={quoteattr(key)} Top="{top}" Left="{left}" Width="{width}" Height="{height}"/>')
        return pid

    def edit(self, top, left, width=140):
        eid = self.next_edit
        self.next_edit += 1
        self.pools["alledit"].append(f'<e Id="{eid}" Top="{top}" Left="{left}" Caption="" RuleId="-1" Width="{width}"/>')
        return eid

    def flash(self, movie, top, left, width, height):
        self.pools["allFlash"].append(
            f'<f Id="{len(self.pools["allFlash"]) + 1}" Top="{top}" Left="{left}" Movie="{movie}" '
            f'Width="{width}" Height="{height}"/>')

    def xml(self):
        def section(name, children=None):
            items = self.rules.get(name, []) if children is None else children
            return f"<{name}>{''.join(items)}</{name}>" if items else f"<{name}/>"

        res = "".join(section(name, items) for name, items in self.pools.items())
        others = "".join(section(name) for name in ("sentences", "images", "buttons", "radios", "edits"))
        trainings = "".join(section(name) for name in (
            "WordFollowReads", "SentenceFollowReads", "WordFollowWrites", "SentenceFollowWrites",
            "ArrangeWords", "ArrangeSentences", "Discerns"))
        entertains = section("RoleActs") + section("TitleRecites")
        rules = (section("Titles") + f"<Others>{others}</Others>" + section("Sencens") +
                 f"<Trainings>{trainings}</Trainings>" + f"<Entertains>{entertains}</Entertains>" +
                 "".join(section(name) for name in (
                     "WordEden", "Games", "Musics", "Tests", "WorldExtends", "Importants", "Encampments")))
        return ('<?xml version="1.0" encoding="GB2312"?>\n'
                f'<OVENG ver="6.0"><res>{res}</res><rules>{rules}</rules></OVENG>\n')


class Lesson:
    def __init__(self, name, source, words, out):
        self.name = name
        self.source = source
        self.words = [word for word, _ in words]
        self.meanings = dict(words)
        self.folder = os.path.join(out, "lessons", name, "Class")
        self.speech = []
        self.songs = []
        self.pictures = []
        self.pages = {}

    def say(self, file, text, voice=WORD_VOICE, speed=130):
        self.speech.append((file, voice, speed, text))
        return file

    def draw(self, file, kind, text=""):
        self.pictures.append((file, kind, text))
        return file

    def voice_of(self, role):
        return dict(self.source["roles"])[role]

    def title(self, page, text):
        page.line(text, 12, 40, size=16, face="宋体", color=PURPLE, rule=False)

    def word_sound(self, word):
        return self.say(f"w_{word}.wav", word)

    # Word follow-reading: two columns of words, each clicked or read in turn
    # with room to repeat it.
    def words_page(self):
        page = Page()
        self.title(page, "Listen and repeat. 听一听，跟读单词。")
        script = ""
        for i, word in enumerate(self.words):
            top, left = 60 + (i % 6) * 70, 60 + (i // 6) * 380
            sid, _ = page.line(word, top, left, self.word_sound(word), size=26)
            script += f"[0,0,{sid},1][1,0,0,2000]"
        page.rule("WordFollowReads", f'<r Id="0">{script}</r>')
        return page

    # Dictation: hear a word, type it; the tick shows on a right answer.
    def dictation_page(self):
        page = Page()
        self.title(page, "Listen and write. 听录音，写单词。")
        for i, word in enumerate(self.source["dictation"]):
            top, left = 70 + (i % 3) * 110, 60 + (i // 3) * 380
            page.line(f"{i + 1}.", top, left, size=20, rule=False)
            heard = page.sentence([], self.word_sound(word), rule=False)
            edit = page.edit(top, left + 50, 160)
            mark = page.picture("right.jpg", top - 4, left + 230, 32, 32, visible=False)
            page.rule("WordFollowWrites",
                      f'<item Id="{i}" SentencesId="{heard}"><test TestStyle="1" ControlStyle="4" '
                      f'ControlId="{edit}" ImageId="{mark}" Answer={quoteattr(word)}/></item>')
        return page

    def dialogue(self, page, top):
        """The lesson's dialogue, speaker before each line; the Ids of the lines."""
        ids = []
        for n, (role, text) in enumerate(self.source["lines"], 1):
            page.line(role + ":", top, 40, size=18, color=GREEN, rule=False)
            audio = self.say(f"s{n}.wav", text, self.voice_of(role), 120)
            sid, _ = page.line(text, top, 240, audio, size=20)
            ids.append((role, sid, len(text.split())))
            top += 48
        return ids

    # Sentence follow-reading: the scene, then the dialogue read line by line
    # with a pause to repeat each.
    def sentences_page(self):
        page = Page()
        self.title(page, "Listen and repeat. 听一听，跟读句子。")
        page.picture("scene.jpg", 40, 40, 340, 240)
        script = "".join(f"[0,0,{sid},1][1,0,0,{1500 + 500 * count}]" for _, sid, count in self.dialogue(page, 300))
        page.rule("SentenceFollowReads", f'<r Id="0">{script}</r>')
        return page

    # Role swap: the program speaks the other role and leaves the pupil's
    # lines silent for as long as they take to say.
    def roles_page(self):
        page = Page()
        self.title(page, "Choose a role and act. 选一个角色，和电脑对话。")
        page.picture("scene.jpg", 40, 40, 340, 240)
        lines = self.dialogue(page, 300)
        for role, _ in self.source["roles"]:
            script = "".join(f"[1,0,0,{1500 + 600 * count}]" if speaker == role else f"[0,0,{sid},1]"
                             for speaker, sid, count in lines)
            page.rule("RoleActs", f'<r Role={quoteattr(role)}>{script}</r>')
        return page

    # Choices: hear a word, choose its card; the choice writes the word into
    # the item's answer edit.
    def choice_page(self, items, section, instruction):
        page = Page()
        self.title(page, instruction)
        for i, (answer, *others) in enumerate(items):
            top = 50 + i * 150
            page.line(f"{i + 1}.", top + 40, 40, size=20, rule=False)
            heard = page.sentence([], self.word_sound(answer), rule=False)
            choices = sorted([answer, *others], key=lambda w: (len(w) * 7 + i) % 5)
            for c, word in enumerate(choices):
                left = 90 + c * 150
                page.picture(self.draw(f"card_{word}.jpg", "card", word), top, left, CARD, CARD)
                page.picture("NOSelected.jpg", top + CARD + 4, left + 34, 32, 32, group=i, key=word)
            edit = page.edit(top + 40, 420, 140)
            mark = page.picture("right.jpg", top + 36, 580, 32, 32, visible=False)
            page.rule(section, f'<item Id="{i}" SentencesId="{heard}"><test TestStyle="3" ControlStyle="4" '
                               f'ControlId="{edit}" ImageId="{mark}" Answer={quoteattr(answer)}/></item>')
        return page

    # Arrangement: the sentence's words, shuffled along one line, to be
    # dragged into order.
    def arrange_page(self):
        page = Page()
        self.title(page, "Listen and put the words in order. 听录音，把单词排成句子。")
        words = self.source["arrange"].split()
        order = sorted(range(len(words)), key=lambda i: (i * 3 + 1) % len(words))
        if order == list(range(len(words))):
            order.reverse()
        audio = self.say("arrange.wav", self.source["arrange"])
        left, placed = 80, []
        for i in order:
            placed.append((i, words[i], left))
            left += text_width(words[i], 24) + 20
        body = [(text, 120, x) for _, text, x in sorted(placed)]
        sid = page.sentence(body, audio, size=24, can_move=True)
        mark = page.picture("right.jpg", 116, left + 20, 32, 32, visible=False)
        answer = "".join("0123456789abcdefghijklmnopqrstuvwxyz"[i] for i in range(len(words)))
        page.rule("ArrangeWords", f'<a Id="0" SentencesId="{sid}"><answer Answer="{answer}" ImageId="{mark}"/></a>')
        return page

    # The song: listen to it whole, or learn it line by line.
    def music_page(self):
        page = Page()
        page.line(self.source["song"], 20, 60, size=24, color=PURPLE, rule=False)
        page.picture(self.draw("notes.jpg", "notes"), 30, 520, 200, 160)
        movies.write(os.path.join(self.folder, "Flash/song.swf"), movies.song(self.source["song"]))
        page.flash("Flash/song.swf", 210, 480, 240, 98)
        listen, learn = "", ""
        for n, text in enumerate(self.source["sing"], 1):
            audio = f"song{n}.wav"
            self.say(f"sung{n}.wav", text, "en+f2", 105)
            self.songs.append(audio)
            sid, _ = page.line(text, 60 + n * 60, 60, audio, size=22)
            listen += f"[0,0,{sid},1]"
            learn += f"[0,0,{sid},1][1,0,0,{1000 + 600 * len(text.split())}]"
        page.rule("Musics", f'<r Id="0">{listen}</r>')
        page.rule("Musics", f'<r Id="1">{learn}</r>')
        return page

    def movie_page(self, title, movie, spec):
        page = Page()
        self.title(page, title)
        movies.write(os.path.join(self.folder, movie), spec)
        return page, movie

    # The cartoon: the lesson's first two lines of dialogue in a little scene.
    def anim_page(self):
        lines = [f"{role}: {text}" for role, text in self.source["lines"][:2]]
        page, movie = self.movie_page("Watch the cartoon. 看动画。", "Flash/anim.swf",
                                      movies.animation(self.name, lines))
        page.flash(movie, 50, 60, 550, 400)
        return page

    # Game n: find the card of one of the lesson's words among three; the
    # right card is in a different place in each game. The other cards are
    # the next words whose meanings differ from the word's and from each
    # other's ("hi" and "hello" both say 你好, and only one card may).
    def game_page(self, n):
        first = (n - 1) * 3
        word = self.words[first % len(self.words)]
        others, shown = [], {self.meanings[word]}
        for k in range(1, len(self.words)):
            other = self.words[(first + k) % len(self.words)]
            if len(others) < 2 and self.meanings[other] not in shown:
                others.append(other)
                shown.add(self.meanings[other])
        right = n % 3
        cards = [(w, self.meanings[w]) for w in others[:right] + [word] + others[right:]]
        page, movie = self.movie_page(f"Game {n}. 游戏{n}。", f"Flash/game{n}.swf", movies.game(word, cards, right))
        page.rule("Games", f'<g Id="0" Top="50" Left="60" Width="550" Height="400" Movie="{movie}"/>')
        return page

    def build(self, extra_animations):
        os.makedirs(os.path.join(self.folder, "Flash"), exist_ok=True)
        for file, kind in (("scene.jpg", "scene"), ("right.jpg", "right"), ("Selected.jpg", "selected"),
                           ("NOSelected.jpg", "unselected")):
            self.draw(file, kind)
        if extra_animations:
            # The showcase page of every item kind.
            self.draw("apple.jpg", "apple")
            self.draw("pear.jpg", "pear")
        made = {
            "words": self.words_page(),
            "dictation": self.dictation_page(),
            "sentences": self.sentences_page(),
            "discern": self.choice_page(self.source["discern"], "Discerns", "Listen and choose. 听录音，选图片。"),
            "roles": self.roles_page(),
            "test": self.choice_page(self.source["test"], "Tests", "Test: listen and choose. 测一测：听录音，选图片。"),
            "arrange": self.arrange_page(),
            "music": self.music_page(),
            "anim": self.anim_page(),
            "game1": self.game_page(1),
            "game2": self.game_page(2),
        }
        for base, page in made.items():
            with open(os.path.join(self.folder, base + ".ov.xml"), "w", encoding="utf-8") as f:
                f.write(page.xml())
        # The arrangement is the test's second page; its own slot lists it too.
        functions = {8: ["words"], 9: ["sentences"], 10: ["dictation"], 12: ["arrange"], 14: ["discern"],
                     15: ["roles"], 18: ["game1", "game2"], 19: ["music"], 20: ["test", "arrange"],
                     23: ["anim"] + extra_animations}
        slots = "".join(f"<Function_{n}>{'|'.join(p + '.ov' for p in functions[n])}</Function_{n}>"
                        if n in functions else f"<Function_{n}/>" for n in range(27))
        with open(os.path.join(self.folder, "OVFunction.ind"), "w", encoding="ascii") as f:
            f.write(f'<?xml version="1.0" encoding="GB2312"?>\n<OVENG ver="6.0"><Function>{slots}</Function></OVENG>\n')


def main():
    demo, out = sys.argv[1], sys.argv[2]
    speech, songs, pictures = [], [], set()
    for file, kind in (("BOTTOM.bmp", "bottom"), ("TOP.bmp", "top"), ("left.bmp", "border"),
                       ("right.bmp", "border"), ("BO.bmp", "backdrop")):
        pictures.add((os.path.join(out, "home", "Images", file), kind, ""))
    for file in sorted(os.listdir(os.path.join(demo, "lessons"))):
        if not file.endswith(".lesson"):
            continue
        name = file[: -len(".lesson")]
        lesson = Lesson(name, read_lesson(os.path.join(demo, "lessons", file)),
                        read_words(os.path.join(demo, "words", name + ".tsv")), out)
        extra = sorted(p[: -len(".xml")][: -len(".ov")]
                       for p in os.listdir(os.path.join(demo, "lessons", name, "Class"))
                       if p.endswith(".ov.xml")) if os.path.isdir(os.path.join(demo, "lessons", name)) else []
        lesson.build(extra)
        speech += [(os.path.join(lesson.folder, f), *rest) for f, *rest in dict.fromkeys(lesson.speech)]
        songs += [os.path.join(lesson.folder, f) for f in lesson.songs]
        pictures |= {(os.path.join(lesson.folder, f), kind, text) for f, kind, text in lesson.pictures}
    for name, rows in (("speech.tsv", speech), ("pictures.tsv", sorted(pictures))):
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            f.writelines("\t".join(map(str, row)) + "\n" for row in rows)
    with open(os.path.join(out, "songs.tsv"), "w", encoding="utf-8") as f:
        f.writelines(song + "\n" for song in songs)


if __name__ == "__main__":
    main()
