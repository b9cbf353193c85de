#!/usr/bin/env python3
"""Writes a few large generated dictionaries into <folder>/dic, in the viewer's
list-file format (UTF-8 with its mark, every line ended by CR LF):

  bigeng   a whole list of 200 000 English headwords, about 150 MB of articles
  engabc   English, one file per letter, 26 x 4 000 headwords
  rusabc   Russian, one file per letter, 32 x 3 000 headwords
  rusthes  Russian, one file per letter, 32 x 1 500 headwords

Articles are 300 to 2 000 bytes, mostly Latin with some Cyrillic (or the
reverse for the Russian ones), shorter ones the commoner, as in real
dictionaries. The words come from a fixed seed, so every run writes the same
files. Writes 20 English headwords for lookups to type, one a line, in lower case,
to <folder>/lookups.txt.
"""

import os
import random
import sys

BOM = b"\xef\xbb\xbf"

SYLLABLES = ("ab ac al an ar be ca co de di el en er fo ga hi in is ka la le li ma me mo na ne no on or "
             "pa pe ra re ri ro sa se so st ta te ti to un ur va ve").split()
RUS_SYLLABLES = ("ба ва га да ка ла ма на па ра са та бо во го до ко ло мо но по ро со то ми ни ли ри "
                 "ре не ле се те ке ук ун ус ар ан ал ос ор ин ир").split()

LATIN = [
    " [ˈwɜːd] n. a unit of language that carries meaning;",
    " to speak or write in a particular way, as in the phrase given;",
    " <i>syn.</i> term, expression, name, designation;",
    " (informal) a short remark or conversation with somebody;",
    " <b>1.</b> the act of doing so; <b>2.</b> the result of that act;",
]
CYRILLIC = [
    " — слово, выражение; речь, разговор;",
    " <i>перен.</i> обещание, честное слово;",
    " — пример статьи словаря, с толкованием и примерами употребления.",
]


def article_length(rnd):
    # 300..2000 bytes, most near the short end: about 750 bytes on average.
    return 300 + int(1700 * rnd.random() ** 2.6)


def article(rnd, headword, latin_share):
    target = article_length(rnd)
    parts = [headword]
    size = len(headword.encode("utf-8"))
    while size < target:
        piece = rnd.choice(LATIN) if rnd.random() < latin_share else rnd.choice(CYRILLIC)
        parts.append(piece)
        size += len(piece.encode("utf-8"))
    return "".join(parts)


def words(rnd, syllables, first, count):
    found = set()
    tries = 0
    while len(found) < count and tries < count * 50:
        tries += 1
        w = first + "".join(rnd.choice(syllables) for _ in range(1 + rnd.randrange(3)))
        found.add(w.upper())
    return sorted(found)


def write_list(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".tmp", "wb") as f:
        f.write(BOM)
        for line in lines:
            f.write(line.encode("utf-8"))
            f.write(b"\r\n")
    os.replace(path + ".tmp", path)


def write_pair(stem, rnd, headwords, latin_share):
    write_list(stem + ".ogl", headwords)
    write_list(stem + ".uvs", (article(rnd, h, latin_share) for h in headwords))


def about(folder, description, name):
    write_list(os.path.join(folder, "about.info"), [description, name])


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-dictionaries.py <folder>")
    base = sys.argv[1]
    rnd = random.Random(13)
    dic = os.path.join(base, "dic")
    lookups = []

    folder = os.path.join(dic, "bigeng")
    heads = set()
    while len(heads) < 200000:
        heads.add("".join(rnd.choice(SYLLABLES) for _ in range(2 + rnd.randrange(4))).upper())
    heads = sorted(heads)
    write_pair(os.path.join(folder, "bigeng"), rnd, heads, 0.85)
    about(folder, "A big generated English dictionary, one whole list.", "Big English")
    lookups += rnd.sample(heads, 15)

    folder = os.path.join(dic, "engabc")
    for n, letter in enumerate("ABCDEFGHIJKLMNOPQRSTUVWXYZ"):
        heads = words(rnd, SYLLABLES, letter.lower(), 4000)
        write_pair(os.path.join(folder, "base", str(101 + n)), rnd, heads, 0.85)
        if letter in "BDKMS":
            lookups.append(rnd.choice(heads))
    about(folder, "A generated English dictionary, one file per letter.", "English by letters")

    for name, count, caption in (("rusabc", 3000, "Русский по буквам"), ("rusthes", 1500, "Тезаурус")):
        folder = os.path.join(dic, name)
        for n in range(32):
            letter = chr(0x0410 + n)
            heads = words(rnd, RUS_SYLLABLES, letter.lower(), count)
            write_pair(os.path.join(folder, "base", str(1 + n)), rnd, heads, 0.15)
        about(folder, "Сгенерированный словарь, по файлу на букву.", caption)

    with open(os.path.join(base, "lookups.txt"), "w", encoding="utf-8") as f:
        for w in lookups:
            f.write(w.lower() + "\n")


if __name__ == "__main__":
    main()
