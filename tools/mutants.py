#!/usr/bin/env python3
"""Plants faults one at a time into one unit's sources and runs the tests
that cover the unit after each, to see which faults the tests notice.

    mutants.py --unit src/units/NAME|src/platform/NAME [--n 30] [--seed 1] [--build build-mutants]
               [--jobs 8] [--only 3,7] [--list]

A mutant is one small change of a code line of the unit's .cpp files:
  cmp     a comparison flipped (== and !=, < and >=, > and <=)
  const   a small integer constant (below 16, not one of a rectangle's
          coordinates nor on a line of pixel sizes) one off, true and false
          swapped
  negate  the condition of an if or while negated
  drop    a call made as a statement of its own left out
  swap    the labels of two neighbouring cases of a switch swapped
Comments, strings, preprocessor lines and log or trace calls are never
changed. The mutants are drawn with a seeded generator, the kinds taking
turns, so that one seed gives the same mutants while the sources stay the
same.

For each mutant the file is changed, the build folder rebuilt and the
tests run in order, several at once, until the first fails:
  1. the gtest suites of tests/units/<unit>_*.cpp (the unit's name in
     lower case), then the suites of the other test files that name the
     unit's classes (NAME:: or units/NAME/); for a folder of src/platform/,
     the suites of tests/platform/<name>_*.cpp, then those of tests/units/
     that include its headers (platform/NAME/);
  2. the scenes tests/scenes/<unit>-*.keys, then the scenes that open one of
     the unit's screens (a "state NAME::" line, or a shot that shows one
     in the first run); every scene for a unit that shows no screen of its
     own in any scene;
  3. the key storms of tests/storm/.
A test that fails before any change (the first run) is left out and said
so. The file is restored after every mutant, also when the build fails and
on Ctrl+C; a copy of it waits in BUILD/mutants-backup/ until then, and a
later run restores a copy a killed run left behind.

A mutant is caught (a test failed or ran past its time), survived (every
test passed) or does not compile (not counted).

--build-cmd and --test-cmd replace the build and the tests by one shell
command each (run in the top folder; the test command fails when it
catches the mutant): the tool's own self-test uses them.
"""

import argparse
import difflib
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

KINDS = ["cmp", "const", "negate", "drop", "swap"]

# Calls whose arguments are never changed and that are never left out:
# logging and tracing, class registration.
SKIPPED_CALLS = re.compile(r"(?<![\w])(?:\w+::)*(?:Log\w*|Trace\w*|KV_[A-Z_]+|static_assert|assert)\s*\(")

KEYWORDS = {
    "return", "if", "else", "for", "while", "do", "switch", "case", "default", "break", "continue",
    "goto", "using", "namespace", "typedef", "template", "class", "struct", "enum", "union", "static",
    "const", "constexpr", "consteval", "constinit", "auto", "delete", "new", "throw", "public",
    "private", "protected", "friend", "virtual", "explicit", "inline", "extern", "sizeof", "co_return",
    "co_await", "co_yield", "try", "catch", "operator", "void", "int", "bool", "char", "unsigned",
    "signed", "long", "short", "float", "double",
}

CMP_SWAP = {"==": "!=", "!=": "==", "<": ">=", ">": "<=", "<=": ">", ">=": "<"}


# ---------------------------------------------------------------- sources

def mask(text):
    """The text with comments, string and character literals and
    preprocessor lines blanked (newlines kept), so that offsets agree."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = i
            while j < n:
                e = text.find("\n", j)
                if e < 0:
                    e = n
                if e > 0 and text[e - 1] == "\\":
                    j = e + 1
                    continue
                break
            blank(i, e)
            i = e
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        line_start = False
        if text.startswith("//", i):
            e = text.find("\n", i)
            e = n if e < 0 else e
            blank(i, e)
            i = e
        elif text.startswith("/*", i):
            e = text.find("*/", i + 2)
            e = n if e < 0 else e + 2
            blank(i, e)
            i = e
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            p = text.find("(", i + 2)
            delim = text[i + 2:p]
            e = text.find(")" + delim + '"', p)
            e = n if e < 0 else e + len(delim) + 2
            blank(i, e)
            i = e
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            blank(i, min(j + 1, n))
            i = j + 1
        else:
            i += 1
    return "".join(out)


def matching(masked, open_at):
    """Offset of the bracket that closes the one at open_at, or -1."""
    pairs = {"(": ")", "[": "]", "{": "}"}
    stack = []
    for k in range(open_at, len(masked)):
        c = masked[k]
        if c in pairs:
            stack.append(pairs[c])
        elif c in ")]}":
            if not stack or stack.pop() != c:
                return -1
            if not stack:
                return k
    return -1


def skipped_spans(masked):
    spans = []
    for m in SKIPPED_CALLS.finditer(masked):
        e = matching(masked, m.end() - 1)
        if e > 0:
            spans.append((m.start(), e + 1))
    return spans


def in_spans(pos, spans):
    return any(a <= pos < b for a, b in spans)


def in_rect(masked, pos):
    """Whether pos lies in a brace list of three or more numbers (a
    rectangle, a point list): coordinates, not logic."""
    a = masked.rfind("{", 0, pos)
    if a < 0 or masked.rfind("}", a, pos) >= 0:
        return False
    b = masked.find("}", pos)
    inner = masked[a + 1:b]
    if b < 0 or re.fullmatch(r"[-\s\w+*/.,()]*", inner) is None:
        return False
    return len(re.findall(r"\b\d+\b", inner)) >= 3 or inner.count(",") == 3


class Mutant:
    def __init__(self, path, kind, start, end, new, line):
        self.path, self.kind, self.start, self.end, self.new, self.line = path, kind, start, end, new, line

    def apply(self, text):
        return text[:self.start] + self.new + text[self.end:]


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


def sites(path, text, rng):
    masked = mask(text)
    spans = skipped_spans(masked)
    found = []

    def add(kind, a, b, new):
        if not in_spans(a, spans):
            found.append(Mutant(path, kind, a, b, new, line_of(text, a)))

    # Comparisons: operators with a space either side (template brackets
    # and arrows have none).
    for m in re.finditer(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)", masked):
        add("cmp", m.start(), m.end(), CMP_SWAP[m.group(1)])

    # Integer constants (no floats, no hex), true and false.
    # Small integers only: counts, indices, flags, codes; larger ones are
    # mostly pixel sizes and times, where one off shows nothing.
    for m in re.finditer(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])", masked):
        v = int(m.group(1))
        if v >= 16 or in_rect(masked, m.start()):
            continue
        ls = masked.rfind("\n", 0, m.start()) + 1
        le = masked.find("\n", m.start())
        if any(int(x) >= 16 for x in re.findall(r"(?<![\w.'])\d+(?![\w.'])", masked[ls:le])):
            continue  # a line of pixel geometry
        nv = v + 1 if v == 0 or rng.random() < 0.5 else v - 1
        add("const", m.start(1), m.end(1), str(nv))
    for m in re.finditer(r"\b(true|false)\b", masked):
        add("const", m.start(), m.end(), "false" if m.group(1) == "true" else "true")

    # Conditions of if and while.
    for m in re.finditer(r"\b(if|while)\s*\(", masked):
        if masked[m.end():m.end() + 10].strip().startswith("constexpr"):
            continue
        o = m.end() - 1
        c = matching(masked, o)
        if c < 0:
            continue
        inner = masked[o + 1:c]
        # An init statement (if (auto x = f(); x)): negate the condition after it.
        depth, semi = 0, -1
        for k, ch in enumerate(inner):
            if ch in "([{":
                depth += 1
            elif ch in ")]}":
                depth -= 1
            elif ch == ";" and depth == 0:
                semi = k
        a = o + 1 + semi + 1
        cond = text[a:c]
        lead = len(cond) - len(cond.lstrip())
        if not cond.strip() or "\n" in cond:
            continue
        if re.match(r"\s*(?:const\s+)?[\w:<>,]+[\s*&]+\w+\s*(?:=(?!=)|\{)", masked[a:c]):
            continue  # a declaration: if (auto* x = f())
        add("negate", a + lead, c, "!(" + cond.strip() + ")")

    # Calls made as statements of their own: a statement that begins a line
    # with a name (a.b->c(...)), ends in ')' before its ';' and neither
    # declares nor assigns.
    head = re.compile(r"[A-Za-z_][\w:]*(?:<[\w:, <>*&]*>)?(?:(?:\.|->|::)[A-Za-z_]\w*(?:<[\w:, <>*&]*>)?|\([^()]*\))*")
    for m in re.finditer(r"(?m)^[ \t]*(?=[A-Za-z_*])", masked):
        s = m.end()
        word = re.match(r"[A-Za-z_]\w*", masked[s:])
        if not word or word.group(0) in KEYWORDS or word.group(0).isupper():
            continue
        h = head.match(masked, s)
        if not h or masked[h.end():h.end() + 1] != "(":
            continue
        # The statement runs to the ';' at depth 0.
        k, depth, end = s, 0, -1
        while k < len(masked):
            ch = masked[k]
            if ch in "([":
                depth += 1
            elif ch in ")]":
                depth -= 1
            elif ch == "{" and depth == 0:
                break
            elif ch == "}" and depth == 0:
                break
            elif ch == "{":
                depth += 1
            elif ch == "}":
                depth -= 1
            elif ch == ";" and depth == 0:
                end = k
                break
            k += 1
        if end < 0:
            continue
        stmt = masked[s:end]
        if not stmt.rstrip().endswith(")"):
            continue
        top = []
        depth = 0
        for ch in stmt:
            if ch in "([{":
                depth += 1
            elif ch in ")]}":
                depth -= 1
            elif depth == 0:
                top.append(ch)
        top = "".join(top)
        if re.search(r"(?<![=!<>])=(?!=)", top) or re.search(r"\w\s+\w", top) or "?" in top:
            continue
        add("drop", s, end, "")

    # Two neighbouring case labels of one switch, each with a body of its own.
    for m in re.finditer(r"\bswitch\s*\(", masked):
        c = matching(masked, m.end() - 1)
        if c < 0:
            continue
        b = masked.find("{", c)
        if b < 0 or masked[c + 1:b].strip():
            continue
        e = matching(masked, b)
        labels = []
        depth = 0
        k = b + 1
        while k < e:
            ch = masked[k]
            if ch in "({[":
                # Skip nested blocks other than plain braces of case bodies.
                if ch == "{":
                    depth += 1
                k += 1
                continue
            if ch == "}":
                depth -= 1
                k += 1
                continue
            if depth == 0 and masked.startswith("case", k) and not masked[k - 1].isalnum() and not masked[k + 4].isalnum():
                lm = re.compile(r"case\s+([^;]+?)\s*:(?!:)").match(masked, k)
                if lm:
                    labels.append((lm.start(1), lm.end(1), lm.end()))
                    k = lm.end()
                    continue
            if depth == 0 and masked.startswith("switch", k) and not masked[k - 1].isalnum():
                # A nested switch: skip its body.
                p = masked.find("(", k)
                q = matching(masked, p)
                r = masked.find("{", q)
                k = matching(masked, r) + 1 if r > 0 else e
                continue
            k += 1
        for (a1, b1, end1), (a2, b2, _) in zip(labels, labels[1:]):
            if not masked[end1:a2 - 5].strip():
                continue  # falls through to the same body
            x, y = text[a1:b1], text[a2:b2]
            if x == y:
                continue
            new = y + text[b1:a2] + x
            add("swap", a1, b2, new)
    return found


def choose(all_sites, n, seed):
    rng = random.Random(seed)
    by_kind = {k: [s for s in all_sites if s.kind == k] for k in KINDS}
    for k in KINDS:
        rng.shuffle(by_kind[k])
    order = KINDS[:]
    rng.shuffle(order)
    chosen = []
    while len(chosen) < n and any(by_kind.values()):
        for k in order:
            if by_kind[k] and len(chosen) < n:
                chosen.append(by_kind[k].pop())
    return chosen


def diff(path, old, new):
    return "".join(difflib.unified_diff(old.splitlines(True), new.splitlines(True), "a/" + path, "b/" + path, n=1))


# ------------------------------------------------------------------ tests

class Job:
    def __init__(self, name, cmd, env=None):
        self.name, self.cmd, self.env = name, cmd, env or {}
        self.seconds = None


def run_jobs(jobs, top_dir, cwd, parallel, timeouts=None, stop_at_first=True):
    """Runs the jobs, at most `parallel` at once, in order. Returns
    (failed job, reason) for the first that fails, or (None, None); with
    stop_at_first False, every job runs and the failures are listed."""
    pending = list(jobs)
    running = []
    failures = []
    env0 = dict(os.environ, KV_TEST="1")
    try:
        while pending or running:
            while pending and len(running) < parallel:
                j = pending.pop(0)
                log = open(os.path.join(cwd, "mutants-job-%d.log" % id(j)), "w+b")
                p = subprocess.Popen(j.cmd, cwd=cwd, env=dict(env0, **j.env), stdout=log, stderr=subprocess.STDOUT,
                                     start_new_session=True)
                running.append((j, p, time.time(), log))
            time.sleep(0.05)
            for item in list(running):
                j, p, t0, log = item
                limit = timeouts.get(j.name) if timeouts else None
                rc = p.poll()
                if rc is None and limit is not None and time.time() - t0 > limit:
                    kill(p)
                    rc = "timeout"
                if rc is None:
                    continue
                running.remove(item)
                j.seconds = time.time() - t0
                log.seek(0)
                tail = log.read()[-3000:].decode("utf-8", "replace")
                log.close()
                os.unlink(log.name)
                if rc != 0:
                    failures.append((j, "ran past %d s" % limit if rc == "timeout" else "failed", tail))
                    if stop_at_first:
                        return failures
    finally:
        for j, p, _, log in running:
            kill(p)
            log.close()
            if os.path.exists(log.name):
                os.unlink(log.name)
    return failures


def kill(p):
    try:
        os.killpg(p.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    p.wait()


def suites_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return sorted(set(re.findall(r"^\s*TEST(?:_F|_P)?\(\s*(\w+)\s*,", f.read(), re.M)))


def test_plan(top, unit, build, parallel):
    """The gtest jobs: a unit of src/units/ has its own suites in
    tests/units/; a folder of src/platform/ has them in tests/platform/
    (platform_tests), and the units' suites that include its headers name
    it."""
    name = os.path.basename(unit.rstrip("/"))
    low = name.lower()
    platform = os.path.basename(os.path.dirname(unit.rstrip("/"))) == "platform"
    own_exe, own_dir = ("platform_tests", "platform") if platform else ("units_tests", "units")
    marks = ["platform/" + name + "/"] if platform else [name + "::", "units/" + name + "/"]
    own, named = [], []
    for exe_name, sub in ((own_exe, own_dir),) + ((("units_tests", "units"),) if platform else ()):
        tdir = os.path.join(top, "tests", sub)
        for f in sorted(os.listdir(tdir)):
            if not f.endswith(".cpp"):
                continue
            p = os.path.join(tdir, f)
            if sub == own_dir and (f.startswith(low + "_") or f == low + ".cpp"):
                own += [(exe_name, s) for s in suites_of(p)]
            elif sub == "units":
                with open(p, encoding="utf-8", errors="replace") as fh:
                    t = fh.read()
                if any(m in t for m in marks):
                    named += [(exe_name, s) for s in suites_of(p)]
    named = [s for s in named if s not in own]
    jobs = []
    for label, suites in (("own", own), ("naming", named)):
        for exe_name in sorted({e for e, _ in suites}):
            these = [s for e, s in suites if e == exe_name]
            shards = max(1, min(parallel, len(these)))
            flt = ":".join(s + ".*" for s in these)
            for i in range(shards):
                jobs.append(Job("%s %s suites shard %d/%d" % (exe_name, label, i + 1, shards),
                                [os.path.join(build, exe_name), "--gtest_filter=" + flt, "--gtest_fail_fast",
                                 "--gtest_brief=1"],
                                {"GTEST_TOTAL_SHARDS": str(shards), "GTEST_SHARD_INDEX": str(i)}))
    return jobs, own, named


def scene_job(top, build, scene):
    return Job("scene " + os.path.basename(scene)[:-5],
               [os.path.join(top, "tools", "play_scene.sh"), os.path.join(build, "tvui"), scene,
                os.path.join(build, "mutants-shots"), os.path.join(build, "sample_media")])


def scene_jobs(top, build, unit, shown):
    """The unit's own scenes, then those that open one of its screens. A
    unit that no scene shows a screen of (the lists, the media bridge, the
    simulated set) draws inside the screens of others, or feeds them: every
    scene is its scene."""
    name = os.path.basename(unit.rstrip("/"))
    low = name.lower()
    sdir = os.path.join(top, "tests", "scenes")
    everywhere = not any(name in units for units in shown.values())
    own, other = [], []
    for f in sorted(os.listdir(sdir)):
        if not f.endswith(".keys"):
            continue
        p = os.path.join(sdir, f)
        with open(p, encoding="utf-8", errors="replace") as fh:
            t = fh.read()
        if f.startswith(low + "-"):
            own.append(p)
        elif everywhere or re.search(r"^\s*state\s+" + name + "::", t, re.M) or name in shown.get(f[:-5], set()):
            other.append(p)
    return [scene_job(top, build, s) for s in own + other]


def storm_jobs(top, build):
    sdir = os.path.join(top, "tests", "storm")
    return [Job("storm " + f[:-5], [os.path.join(top, "tools", "play_storm.sh"), os.path.join(build, "tvui"),
                                    os.path.join(sdir, f)])
            for f in sorted(os.listdir(sdir)) if f.endswith(".keys")]


def units_shown(top, build, parallel):
    """Which units' screens each scene shows at its shots, from one run of
    every scene: "key script: shot NAME shows: Unit::Class (win N), ...".
    Kept in BUILD/mutants-shown.json for the scenes that have not changed."""
    sdir = os.path.join(top, "tests", "scenes")
    cache_file = os.path.join(build, "mutants-shown.json")
    cache = {}
    if os.path.exists(cache_file):
        with open(cache_file) as f:
            cache = json.load(f)
    shown = {}
    digests = {}
    for f in sorted(os.listdir(sdir)):
        if f.endswith(".keys"):
            with open(os.path.join(sdir, f), "rb") as fh:
                digests[f] = hashlib.sha1(fh.read()).hexdigest()
            if f in cache and cache[f]["sha1"] == digests[f]:
                shown[f[:-5]] = set(cache[f]["units"])
    scenes = sorted(f for f in digests if f[:-5] not in shown)
    procs = []
    env = dict(os.environ, KV_TEST="1")
    try:
        for f in scenes:
            while len([p for p in procs if p[1].poll() is None]) >= parallel:
                time.sleep(0.1)
            j = scene_job(top, build, os.path.join(sdir, f))
            log = open(os.path.join(build, "mutants-shown-%s.log" % f[:-5]), "w+b")
            p = subprocess.Popen(j.cmd, cwd=build, env=env, stdout=log, stderr=subprocess.STDOUT,
                                 start_new_session=True)
            procs.append((f[:-5], p, log))
        for s, p, log in procs:
            p.wait()
            log.seek(0)
            out = log.read().decode("utf-8", "replace")
            shown[s] = set(re.findall(r"\b([A-Z]\w*)::\w+ \(win", out))
    finally:
        for _, p, log in procs:
            if p.poll() is None:
                kill(p)
            log.close()
            os.unlink(log.name)
    for s in (f[:-5] for f in scenes):
        cache[s + ".keys"] = {"sha1": digests[s + ".keys"], "units": sorted(shown[s])}
    with open(cache_file, "w") as f:
        json.dump(cache, f)
    return shown


# ------------------------------------------------------------- the run

class Restorer:
    """Keeps the original of the file being changed, on disk too, and puts
    it back."""

    def __init__(self, top, backup_dir):
        self.top, self.dir = top, backup_dir
        self.path, self.text = None, None

    def recover(self):
        if not os.path.isdir(self.dir):
            return
        for root, _, files in os.walk(self.dir):
            for f in files:
                b = os.path.join(root, f)
                rel = os.path.relpath(b, self.dir)
                shutil.copyfile(b, os.path.join(self.top, rel))
                print("mutants: restored %s left changed by an earlier run" % rel, flush=True)
        shutil.rmtree(self.dir)

    def change(self, rel, old, new):
        b = os.path.join(self.dir, rel)
        os.makedirs(os.path.dirname(b), exist_ok=True)
        with open(b, "w", encoding="utf-8", newline="") as f:
            f.write(old)
        self.path, self.text = rel, old
        with open(os.path.join(self.top, rel), "w", encoding="utf-8", newline="") as f:
            f.write(new)

    def restore(self):
        if self.path is None:
            return
        with open(os.path.join(self.top, self.path), "w", encoding="utf-8", newline="") as f:
            f.write(self.text)
        os.unlink(os.path.join(self.dir, self.path))
        self.path, self.text = None, None


def interrupted(signum, frame):
    raise KeyboardInterrupt


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--unit", required=True, help="src/units/NAME or src/platform/NAME")
    ap.add_argument("--n", type=int, default=30)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--build", default="build-mutants")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 4)
    ap.add_argument("--only", default="", help="numbers of the mutants to run, e.g. 3,7")
    ap.add_argument("--list", action="store_true", help="print the mutants without running them")
    ap.add_argument("--top", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap.add_argument("--build-cmd", default=None)
    ap.add_argument("--test-cmd", default=None)
    args = ap.parse_args()

    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, interrupted)

    top = os.path.abspath(args.top)
    unit = args.unit.rstrip("/")
    udir = os.path.join(top, unit)
    if not os.path.isdir(udir):
        print("mutants: no unit folder %s" % unit)
        return 2
    build = os.path.abspath(os.path.join(top, args.build))
    os.makedirs(build, exist_ok=True)
    restorer = Restorer(top, os.path.join(build, "mutants-backup"))
    restorer.recover()

    rng = random.Random(args.seed)
    all_sites = []
    texts = {}
    for f in sorted(os.listdir(udir)):
        if f.endswith(".cpp"):
            rel = os.path.join(unit, f)
            with open(os.path.join(top, rel), encoding="utf-8", newline="") as fh:
                texts[rel] = fh.read()
            all_sites += sites(rel, texts[rel], rng)
    chosen = choose(all_sites, args.n, args.seed)
    counts = {k: sum(1 for s in all_sites if s.kind == k) for k in KINDS}
    print("mutants: %s: %d places (%s), %d mutants, seed %d" %
          (unit, len(all_sites), ", ".join("%s %d" % (k, counts[k]) for k in KINDS), len(chosen), args.seed),
          flush=True)
    only = {int(x) for x in args.only.replace(",", " ").split()} if args.only else None
    if args.list:
        for i, m in enumerate(chosen, 1):
            if only is None or i in only:
                print("mutant %d [%s] %s:%d" % (i, m.kind, m.path, m.line))
                print(diff(m.path, texts[m.path], m.apply(texts[m.path])), end="")
        return 0

    par = max(1, args.jobs)

    def build_it():
        if args.build_cmd:
            cmd = ["sh", "-c", args.build_cmd]
            cwd = top
        else:
            cmd = ["cmake", "--build", build, "-j", str(par), "--target", "units_tests", "platform_tests", "tvui",
                   "sample_media", "shot_compare", "known_faults_filter"]
            cwd = top
        r = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return r.returncode == 0, r.stdout.decode("utf-8", "replace")

    report_lines = []

    def say(s=""):
        print(s, flush=True)
        report_lines.append(s)

    try:
        t0 = time.time()
        ok, out = build_it()
        if not ok:
            print(out[-5000:])
            say("mutants: the unchanged sources do not build")
            return 1
        if args.test_cmd:
            jobs = [Job("test command", ["sh", "-c", args.test_cmd])]
            jobs_cwd = top
        else:
            gjobs, own, named = test_plan(top, unit, build, par)
            shown = units_shown(top, build, par)
            jobs = gjobs + scene_jobs(top, build, unit, shown) + storm_jobs(top, build)
            jobs_cwd = build
            say("mutants: tests: %d suites of its own, %d that name it, %d scenes, %d storms" %
                (len(own), len(named), sum(1 for j in jobs if j.name.startswith("scene")),
                 sum(1 for j in jobs if j.name.startswith("storm"))))
        # The first run: what fails unchanged is left out; the times give
        # each test its limit.
        fails = run_jobs(jobs, top, jobs_cwd, par, stop_at_first=False)
        for j, why, tail in fails:
            say("mutants: left out, fails unchanged: %s" % j.name)
        bad = {j.name for j, _, _ in fails}
        jobs = [j for j in jobs if j.name not in bad]
        timeouts = {j.name: max(60.0, 4 * (j.seconds or 0)) for j in jobs}
        say("mutants: first run %.0f s (build and tests)" % (time.time() - t0))

        results = {"caught": [], "survived": [], "does not compile": []}
        for i, m in enumerate(chosen, 1):
            if only is not None and i not in only:
                continue
            old = texts[m.path]
            new = m.apply(old)
            t1 = time.time()
            restorer.change(m.path, old, new)
            try:
                ok, out = build_it()
                if not ok:
                    verdict, detail = "does not compile", ""
                else:
                    fails = run_jobs(jobs, top, jobs_cwd, par, timeouts)
                    if fails:
                        j, why, tail = fails[0]
                        verdict, detail = "caught", "%s %s" % (j.name, why)
                        lines = [l for l in tail.splitlines() if "FAILED" in l or "Failure" in l or "error" in l]
                        if lines:
                            detail += ": " + lines[0].strip()[:160]
                    else:
                        verdict, detail = "survived", ""
            finally:
                restorer.restore()
            results[verdict].append(i)
            say("mutant %d/%d [%s] %s:%d  %s%s  (%.0f s)" %
                (i, len(chosen), m.kind, m.path, m.line, verdict.upper() if verdict == "survived" else verdict,
                 " by " + detail if detail else "", time.time() - t1))
            say(diff(m.path, old, new).rstrip("\n"))
        built = len(results["caught"]) + len(results["survived"])
        say("")
        say("mutants: %s seed %d: %d planted, %d do not compile, %d caught, %d survived%s" %
            (unit, args.seed, built + len(results["does not compile"]), len(results["does not compile"]),
             len(results["caught"]), len(results["survived"]),
             " (%d %% caught)" % round(100 * len(results["caught"]) / built) if built else ""))
        if results["survived"]:
            say("mutants: survivors: %s" % ", ".join(str(i) for i in results["survived"]))
        return 0
    except KeyboardInterrupt:
        print("\nmutants: stopped", flush=True)
        return 130
    finally:
        restorer.restore()
        with open(os.path.join(build, "mutants-%s-seed%d.txt" % (os.path.basename(unit), args.seed)), "w") as f:
            f.write("\n".join(report_lines) + "\n")


if __name__ == "__main__":
    sys.exit(main())
