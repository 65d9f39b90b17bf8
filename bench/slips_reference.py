#!/usr/bin/python3
"""A plain Python grouping of spelling slips, the benchmark's peer for the review's.

Reads a list (one item a line), makes each item's key as the default boxes do (full case
folding, NFKC, accents dropped, blanks collapsed, invisibles dropped), and groups keys that
are slips of one another: within one edit (two from 12 characters on), 5 to 64 characters,
the same digits. Candidates are the keys that share a text once each has lost as many
characters as they may differ by; the groups are taken greedily, keys of most items first,
every member a slip of every other. Prints the number of groups of two or more items.

    slips_reference.py [--no-slips] [--addresses [--address-parts]] LIST_FILE

--no-slips groups equal keys only (the default boxes); --addresses groups the items' e-mail
addresses instead of whole items (items without one are left out), their domains in small
letters; --address-parts judges each side of the "@" on its own length, their slips added up.
"""
import collections
import itertools
import re
import sys
import unicodedata

INVISIBLE = dict.fromkeys(map(ord, "\u200b\u200c\u200d\u2060\ufeff\u00ad\u200e\u200f"))


def key_of(line):
    text = unicodedata.normalize("NFKD", line.translate(INVISIBLE))
    text = "".join(c for c in text if not unicodedata.combining(c))
    text = unicodedata.normalize("NFKC", text.casefold())
    return " ".join(text.split())


def allowed(a, b):
    shorter = min(len(a), len(b))
    if shorter < 5 or max(len(a), len(b)) > 64:
        return 0
    return 1 if shorter < 12 else 2


BRACKETED = re.compile(r"<([^<>\s]+@[^<>\s]+)>")
BARE = re.compile(r"[^@]*?([^\s,;<>()]+@[^\s,;<>()]+).*")


def address_key(line):
    found = BRACKETED.search(line) or BARE.fullmatch(line.strip())
    if not found:
        return None
    local, _, domain = found.group(1).rpartition("@")
    return key_of(local) + "@" + key_of(domain.lower())


def distance(a, b):
    rows = [list(range(len(b) + 1))]
    for i in range(1, len(a) + 1):
        row = [i] + [0] * len(b)
        for j in range(1, len(b) + 1):
            row[j] = min(rows[-1][j] + 1, row[j - 1] + 1,
                         rows[-1][j - 1] + (a[i - 1] != b[j - 1]))
            if i > 1 and j > 1 and a[i - 1] == b[j - 2] and a[i - 2] == b[j - 1]:
                row[j] = min(row[j], rows[-2][j - 2] + 1)
        rows.append(row)
    return rows[-1][-1]


def within(a, b, parts):
    limit = allowed(a, b)
    if not limit:
        return False
    if not parts or "@" not in a or "@" not in b:
        return distance(a, b) <= limit
    edits = 0
    for own, other in zip(a.rpartition("@")[::2], b.rpartition("@")[::2]):
        if own == other:
            continue
        part_limit = allowed(own, other)
        part_edits = distance(own, other) if part_limit else part_limit + 1
        if part_edits > part_limit:
            return False
        edits += part_edits
    return edits <= limit


def digits(text):
    return "".join(c for c in text if c.isdigit())


def shortened(text, lost):
    for k in range(lost + 1):
        for cut in itertools.combinations(range(len(text)), k):
            yield "".join(c for i, c in enumerate(text) if i not in cut)


def main(path, slips=True, addresses=False, parts=False):
    counts = collections.Counter()
    first = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines):
            line = line.rstrip("\n")
            key = address_key(line) if addresses else key_of(line)
            if key is None:
                continue
            counts[key] += 1
            first.setdefault(key, number)
    if not slips:
        print(sum(1 for count in counts.values() if count > 1))
        return
    keys = list(counts)
    meeting = collections.defaultdict(set)
    for index, key in enumerate(keys):
        if 5 <= len(key) <= 64:
            for text in shortened(key, 1 if len(key) < 12 else 2):
                meeting[(digits(key), text)].add(index)
    neighbours = collections.defaultdict(set)
    for indices in meeting.values():
        for a, b in itertools.combinations(sorted(indices), 2):
            if b not in neighbours[a]:
                if within(keys[a], keys[b], parts):
                    neighbours[a].add(b)
                    neighbours[b].add(a)
    order = sorted(range(len(keys)), key=lambda k: (-counts[keys[k]], first[keys[k]]))
    rank = {k: r for r, k in enumerate(order)}
    grouped = set()
    groups = 0
    for k in order:
        if k in grouped:
            continue
        members = [k]
        if k in neighbours:
            for other in sorted(neighbours[k], key=rank.get):
                if other not in grouped and all(other in neighbours[m] for m in members[1:]):
                    members.append(other)
        if len(members) > 1:
            grouped.update(members)
        if len(members) > 1 or counts[keys[k]] > 1:
            groups += 1
    print(groups)


if __name__ == "__main__":
    flags = set(sys.argv[1:-1])
    main(sys.argv[-1], slips="--no-slips" not in flags, addresses="--addresses" in flags,
         parts="--address-parts" in flags)
