#!/usr/bin/env python3
"""Picks the words the outside measurements type, from the dictionaries that
bench/make-dictionaries.py wrote into <folder>/dic, and writes them, one a
line in lower case, beside them:

  words-both.txt    headwords both Russian dictionaries hold: their page from
                    all dictionaries has two articles (no headword is in both
                    English ones). None begins with another: the search box
                    would complete a word typed to a longer one looked up
                    before, from its history
  words-one.txt     headwords of the big English one whose last letter changes
                    the article shown: all but that letter already find
                    another headword first, as the search takes the first
                    headword that begins with what is typed
  words-many.txt    400 headwords of the English ones, for long runs of lookups

The words typed with the key that is timed (words-one.txt) have only plain
Latin letters, so that the key is on the virtual keyboard without a modifier. The picks come from a fixed seed: every run types the same words.
"""

import os
import random
import sys


def headwords(path):
    with open(path, encoding="utf-8-sig") as f:
        return [line.rstrip("\r\n") for line in f]


def per_letter(folder):
    words = []
    for name in sorted(os.listdir(os.path.join(folder, "base"))):
        if name.endswith(".ogl"):
            words += headwords(os.path.join(folder, "base", name))
    return words


def plain(word):
    return word.isascii() and word.isalpha()


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pick-words.py <folder>")
    base = sys.argv[1]
    dic = os.path.join(base, "dic")
    big = headwords(os.path.join(dic, "bigeng", "bigeng.ogl"))
    by_letters = per_letter(os.path.join(dic, "engabc"))
    rnd = random.Random(29)

    both = sorted(set(per_letter(os.path.join(dic, "rusabc"))) & set(per_letter(os.path.join(dic, "rusthes"))))

    # The first headword of the list that begins with each prefix.
    first = {}
    for w in big:
        for n in range(1, len(w) + 1):
            first.setdefault(w[:n], w)
    one = [w for w in big if plain(w) and len(w) >= 4 and first[w[:-1]] != w]

    many = rnd.sample([w for w in big + by_letters if plain(w)], 400)
    picked = rnd.sample(both, min(400, len(both)))
    picked = [w for w in picked if not any(o != w and o.startswith(w) for o in picked)][:200]
    for name, words in (("words-both.txt", picked),
                        ("words-one.txt", rnd.sample(one, 200)), ("words-many.txt", many)):
        with open(os.path.join(base, name + ".tmp"), "w", encoding="utf-8") as f:
            f.writelines(w.lower() + "\n" for w in words)
        os.replace(os.path.join(base, name + ".tmp"), os.path.join(base, name))
    print(f"  {len(both)} headwords in both Russian dictionaries, {len(one)} that change with their last letter")


if __name__ == "__main__":
    main()
