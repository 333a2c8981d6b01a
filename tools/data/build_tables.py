#!/usr/bin/env python3
"""Build Casewright's lexical source tables from a dumped morphological analyser.

Input: the AT&T text dump (lt-print) of the Portuguese analyser, the Snowball
Portuguese stopword module, the hand-written cue word list and casewright-cli,
which tells the characters a word key may hold. Output, in the tables folder:
lexicon.tsv (form TAB lemma), stoplist.txt (one key a line) and a summary of
counts on standard output for SOURCES.

Only forms that can occur as a word key of the program are kept: forms made of
the characters that the program keeps unchanged in a key (the word characters
that lower-casing leaves alone, and the period), all of them in Windows-1252.
Each kept form gets exactly one lemma, chosen by the ranking in `rank()` below.
The output is sorted by the form's UTF-8 bytes, so running the script twice
gives identical files.
"""

import argparse
import re
import shlex
import sys
from collections import defaultdict

import cli_rows
import word_keys

# Tags of function words: prepositions, determiners, pronouns, conjunctions,
# relatives and pre-adverbs.
FUNCTION_TAGS = frozenset(
    ["pr", "det", "detnt", "predet", "prn", "cnjcoo", "cnjsub", "cnjadv",
     "rel", "preadv"])
# The function-word tags whose lemmas join the stoplist (pre-adverbs such as
# "bem" and "quase" do not).
STOP_TAGS = frozenset(
    ["pr", "det", "detnt", "predet", "prn", "cnjcoo", "cnjsub", "cnjadv",
     "rel"])
# Auxiliary and high-frequency verbs, in the order they win a tie.
AUX_VERBS = ("ser", "estar", "ter", "haver", "ir")
VERB_TAGS = frozenset(["vblex", "vbser", "vbhaver", "vbmod"])

# Hand-checked forms where the ranking gives the less useful lemma: the verb
# reading wins by rank, but in running text the form is far more often the
# noun, adjective or adverb. Each must be one of the form's analyses.
EXCEPTIONS = {
    "estado": "estado",      # "o estado", not the participle of estar
    "estados": "estado",
    "estáveis": "estável",   # adjective, not "(vós) estáveis"
    "eras": "era",           # noun plural, not "(tu) eras"
    "fora": "fora",          # adverb and preposition, not the pluperfect
    "ida": "ida",            # noun (the going), not the participle of ir
    "idas": "ida",
    "termos": "termo",       # noun plural, not the inflected infinitive
}

# Function words that mostly carry content in running text; they stay out of
# the stoplist even though the analyser also tags them as function words.
NOT_STOPWORDS = frozenset(
    ["bastante", "caso", "certo", "extra", "logo", "salvo", "segundo"])

# Snowball entries that are not Portuguese words: "tém" for "têm" and the
# future and conditional of haver written on the preterite stem ("houverei"
# for "haverei"). Any other entry the analyser does not know stops the build.
MISSPELLED = frozenset(["tém", "houverei", "houverá", "houveremos",
                        "houverão", "houveria", "houveríamos", "houveriam"])

TAG_RE = re.compile(r"<([^>]+)>")


def is_key(word, key_chars):
    """True when the word can be a key: non-empty, made of `key_chars` (the
    characters that are keys by themselves, all in Windows-1252)."""
    return bool(word) and all(c in key_chars for c in word)


def read_att(path):
    """Return (arcs, finals) of the dictionary section of an lt-print dump.

    The dump holds several transducers separated by lines of "--"; the first is
    the regular-expression section (numbers, punctuation), which is skipped.
    The dictionary section is the largest one.
    """
    sections = [(defaultdict(list), set())]
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("--"):
                sections.append((defaultdict(list), set()))
                continue
            fields = line.split("\t")
            arcs, finals = sections[-1]
            if len(fields) >= 4:
                arcs[int(fields[0])].append(
                    (int(fields[1]), fields[2], fields[3]))
            elif fields and fields[0]:
                finals.add(int(fields[0]))
    return max(sections, key=lambda s: sum(len(v) for v in s[0].values()))


def enumerate_paths(arcs, finals, key_chars):
    """Yield (form, analysis) for every accepted path.

    Paths are cut as soon as they cannot give a kept entry: an input character
    that no key holds (capitals, blanks, apostrophes), or an enclitic pronoun in
    the analysis (verb+clitic forms such as "faz-se").
    """
    stack = [(0, "", "")]
    while stack:
        state, form, out = stack.pop()
        if state in finals:
            yield form, out
        for target, isym, osym in arcs.get(state, ()):
            if isym != "ε" and isym not in key_chars:
                continue
            if osym == "<enc>":
                continue
            stack.append((target,
                          form if isym == "ε" else form + isym,
                          out if osym == "ε" else out + osym))


def parse_analysis(out):
    """Return (lemma, tags) of the first part of an analysis, or None.

    Contractions ("do" = de+o) are analysed as several parts joined by "+";
    their lemma is the first part's (the preposition). Multi-word analyses
    (with "#" or a blank) give None.
    """
    if "#" in out:
        return None
    first = out.split("+", 1)[0]
    m = TAG_RE.search(first)
    if not m:
        return None
    lemma = first[:m.start()]
    if " " in lemma:
        return None
    return lemma, TAG_RE.findall(first)


def rank(form, lemma, tags):
    """Sort key of one analysis: the smallest wins.

    Tiers: 0 function words; 1 the verbs ser, estar, ter, haver, ir (in that
    order); 2 nouns; 3 participles (to their verb); 4 adjectives; 5 adverbs;
    6 other verb forms; 7 anything else. Within a tier a lemma equal to the
    form wins, then the lemma first in byte order.
    """
    main = tags[0]
    if main in FUNCTION_TAGS:
        tier, sub = 0, 0
    elif main in VERB_TAGS and lemma in AUX_VERBS:
        tier, sub = 1, AUX_VERBS.index(lemma)
    elif main == "n":
        tier, sub = 2, 0
    elif main in VERB_TAGS and "pp" in tags:
        tier, sub = 3, 0
    elif main == "adj":
        tier, sub = 4, 0
    elif main == "adv":
        tier, sub = 5, 0
    elif main in VERB_TAGS:
        tier, sub = 6, 0
    else:
        tier, sub = 7, 0
    return (tier, sub, lemma != form, lemma.encode("utf-8"))


def collect(att_path, key_chars):
    """Return {form: set of (lemma, tags tuple)} of the kept analyses."""
    arcs, finals = read_att(att_path)
    analyses = defaultdict(set)
    for form, out in enumerate_paths(arcs, finals, key_chars):
        if not is_key(form, key_chars):
            continue
        parsed = parse_analysis(out)
        if parsed is None:
            continue
        lemma, tags = parsed
        if "np" in tags or not is_key(lemma, key_chars):
            continue
        analyses[form].add((lemma, tuple(tags)))
    return analyses


def choose(analyses):
    """Return {form: lemma} with one lemma per form."""
    for form, lemma in EXCEPTIONS.items():
        if lemma not in {l for l, _ in analyses.get(form, ())}:
            sys.exit(f"build_tables: exception {form} -> {lemma} is not "
                     "one of its analyses")
    lexicon = {}
    for form, cands in analyses.items():
        if form in EXCEPTIONS:
            lexicon[form] = EXCEPTIONS[form]
            continue
        best = min(cands, key=lambda c: rank(form, c[0], list(c[1])))
        lexicon[form] = best[0]
    return lexicon


def read_snowball(path):
    """Return the words of the Snowball stopword module, in file order."""
    text = open(path, encoding="utf-8").read()
    m = re.search(r"qw\(\s*([^)]*)\)\s*;\s*}\s*1;", text)
    if not m:
        sys.exit("build_tables: no word list found in " + path)
    return m.group(1).split()


def read_list(path):
    """Lines of a table source file, without comments and blank lines."""
    words = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                words.append(line)
    return words


def key_of(lexicon, word):
    return lexicon.get(word, word)


def build_stoplist(lexicon, analyses, snowball):
    keys = set()
    dropped = []
    for w in snowball:
        if w in MISSPELLED:
            dropped.append(w)
            continue
        if w not in lexicon:
            sys.exit(f"build_tables: Snowball word {w} is unknown to the "
                     "analyser; check its spelling")
        keys.add(key_of(lexicon, w))
    for form, cands in analyses.items():
        for lemma, tags in cands:
            if tags[0] in STOP_TAGS:
                keys.add(key_of(lexicon, form))
                keys.add(key_of(lexicon, lemma))
    keys -= NOT_STOPWORDS
    return sorted(keys, key=lambda k: k.encode("utf-8")), dropped


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        for line in lines:
            f.write(line + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--att", required=True, help="lt-print dump of the analyser")
    ap.add_argument("--snowball", required=True, help="Lingua/StopWords/PT.pm")
    ap.add_argument("--cues", required=True, help="cue word list to check")
    ap.add_argument("--out", required=True, help="tables folder to write into")
    ap.add_argument("--cli", required=True, help="casewright-cli")
    ap.add_argument("--ambiguous", help="write the ambiguous forms here")
    args = ap.parse_args()

    try:
        key_chars = word_keys.key_chars(args.cli)
    except cli_rows.CliError as e:
        sys.exit(f"build_tables: {e}")
    analyses = collect(args.att, key_chars)
    lexicon = choose(analyses)
    forms = sorted(lexicon, key=lambda f: f.encode("utf-8"))
    write_lines(args.out + "/lexicon.tsv",
                (f + "\t" + lexicon[f] for f in forms))

    ambiguous = [f for f in forms if len({l for l, _ in analyses[f]}) > 1]
    if args.ambiguous:
        write_lines(args.ambiguous,
                    (f + "\t" + lexicon[f] + "\t" +
                     " ".join(sorted({l for l, _ in analyses[f]}))
                     for f in ambiguous))

    snowball = read_snowball(args.snowball)
    stoplist, dropped = build_stoplist(lexicon, analyses, snowball)
    write_lines(args.out + "/stoplist.txt", stoplist)

    cues = read_list(args.cues)
    bad = [c for c in cues if key_of(lexicon, c) != c or not is_key(c, key_chars)]
    if bad:
        sys.exit("build_tables: cue words that are not their own key: "
                 + ", ".join(f"{c} (key {key_of(lexicon, c)})" for c in bad))
    if len(set(cues)) != len(cues):
        sys.exit("build_tables: repeated cue words")

    # Counts as shell assignments, for the SOURCES file.
    print(f"forms={len(forms)}")
    print(f"lemmas={len(set(lexicon.values()))}")
    print(f"ambiguous={len(ambiguous)}")
    print(f"snowball={len(snowball)}")
    print(f"snowball_dropped={shlex.quote(' '.join(dropped))}")
    print(f"stopwords={len(stoplist)}")
    print(f"cues={len(cues)}")


if __name__ == "__main__":
    main()
