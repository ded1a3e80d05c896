#!/usr/bin/env python3
"""scripts/mutate: the mutants it makes of sample code, and two runs over a tiny CMake project of
its own (mutants a test kills, one no test can kill, one that hangs, one that does not compile)."""

import os
import subprocess
import sys
import tempfile
from importlib.machinery import SourceFileLoader

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL = os.path.join(ROOT, "scripts", "mutate")
mutate = SourceFileLoader("mutate", TOOL).load_module()
failures = []


def check(name, got, want):
    if got != want:
        failures.append(f"{name}:\n  got  {got}\n  want {want}")


def body(code):
    return "void f() {\n" + code + "\n}\n"


# Source -> the mutated lines, in the order the tool makes them.
MUTANTS = [
    (body("if (a < b) {"), ["if (a <= b) {", "if (a >= b) {", "if (!(a < b)) {"]),
    (body("ok = x == y && !z;"), ["ok = x != y && !z;", "ok = x == y || !z;", "ok = x == y && z;",
                                  "{}"]),
    (body("n = v[i] * k - 1;"), ["n = v[i] * (k + 1) - 1;", "n = v[i] * (k - 1) - 1;",
                                 "n = v[i] * k - 2;", "n = v[i] * k - 0;", "n = v[i + 1] * k - 1;",
                                 "n = v[i - 1] * k - 1;", "{}"]),
    (body("return std::clamp(v, lo, hi);"), ["return v;", "return {};"]),
    (body("return std::max(a, b + 1);"), ["return std::max(a, b + 2);",
                                          "return std::max(a, b + 0);", "return a;",
                                          "return (b + 1);", "return {};"]),
    (body("return count > 0;"), ["return count >= 0;", "return count <= 0;", "return false;"]),
    (body("return 0;"), ["return 1;"]),
    (body("return *this;"), []),
    (body("m_cv.notify_one();"), ["{}"]),
    (body("++m_count;"), ["{}"]),
    (body("const int n = a + b;"), ["const int n = a + 1 + b;", "const int n = a - 1 + b;",
                                    "const int n = a + b + 1;", "const int n = a + b - 1;"]),
    (body("Lock lock(m);"), []),
    (body("break;"), []),
    (body("char buf[16];"), []),
    (body("auto f = [this] { Run(); };"), []),
    (body('text = "a < b";  // c == d'), ["{}  // c == d"]),
    (body('text = R"(say "a < b")";'), ["{}"]),
    (body("x = 1.5 * y;"), ["x = 1.5 * (y + 1);", "x = 1.5 * (y - 1);", "{}"]),
    (body("#if A > 1"), []),
    (body("static_assert(kA < kB);"), []),
    (body("if (done)\n    Stop();"), ["if (!done)", "{}"]),
    (body("Call(a,\n     b);"), []),
    (body("total = a +\n    Scale(b);"), []),
    # Members of a class body are declarations: only statements in function bodies are removed.
    ("struct S {\n    Tally();\n    void Run() {\n        Add(n);\n    }\n};\n", ["{}"]),
]

for source, want in MUTANTS:
    check(f"mutants of {source!r}", [m[3].strip() for m in mutate.file_mutants(source)], want)

PROJECT = {
    "CMakeLists.txt": "cmake_minimum_required(VERSION 3.20)\nproject(tiny CXX)\nenable_testing()\n"
                      "add_library(tally STATIC tally.cpp loop.cpp)\n"
                      "add_executable(tally_test tests/tally_test.cpp)\n"
                      "target_link_libraries(tally_test tally)\n"
                      "add_test(NAME tally_test COMMAND tally_test)\n",
    "tally.h": "class Tally {\npublic:\n    void Add(int n);\n    int& Sum();\n\nprivate:\n"
               "    int m_sum = 0;\n    int m_adds = 0;\n};\n",
    # m_adds is never read: removing its step is an equivalent mutant. A reference cannot be
    # returned as {}: that mutant does not compile.
    "tally.cpp": '#include "tally.h"\n\nvoid Tally::Add(int n) {\n    m_sum += n;\n'
                 "    ++m_adds;\n}\n\nint& Tally::Sum() {\n    return m_sum;\n}\n",
    # Without its step the loop never ends: a time-out.
    "loop.cpp": "int Halvings(int n) {\n    int k = 0;\n    while (n > 1) {\n        n /= 2;\n"
                "        ++k;\n    }\n    return k;\n}\n",
    "tests/tally_test.cpp": '#include "../tally.h"\nint Halvings(int n);\nint main() {\n'
                            "    Tally t;\n    t.Add(2);\n    t.Add(3);\n"
                            "    return t.Sum() == 5 && Halvings(8) == 3 ? 0 : 1;\n}\n",
}

# accepted survivors (the line number is stale on purpose) -> what the output holds, and lacks.
RUNS = [
    ("", ["killed: tally.cpp:4: m_sum += n; -> {}", "\ntally.cpp:5: ++m_adds; -> {}\n",
          "build failure: tally.cpp:9: return m_sum; -> return {};",
          "3 mutants: 1 killed (0 by time-out), 1 survived, 0 accepted, 1 build failures; "
          "0 from the cache",
          "timeout: loop.cpp:4: n /= 2; -> {}", "killed: loop.cpp:5: ++k; -> {}",
          "loop.cpp: 6 mutants: 6 killed (1 by time-out), 0 survived",
          "score: 7 / 8 killed = 87.5%"], ["accepted tally.cpp"]),
    ("tally.cpp:12: ++m_adds; -> {}  # m_adds is never read\n",
     ["3 mutants: 1 killed (0 by time-out), 0 survived, 1 accepted, 1 build failures; "
      "3 from the cache",
      "accepted tally.cpp: ++m_adds; -> {}", "score: 7 / 7 killed = 100.0%", "9 from the cache",
      "killed (cached): tally.cpp:4: m_sum += n; -> {}"],
     ["\ntally.cpp:5: ++m_adds; -> {}\n", "killed: tally.cpp:4: m_sum += n; -> {}"]),
    # Again after an earlier run, with a cache of its own: what that run killed stays killed
    # (here, on purpose, the equivalent mutant), its survivors and what it lacks are tried anew.
    # A test added to the project since is known.
    ("", ["killed (earlier run): tally.cpp:5: ++m_adds; -> {}", "tests: tally_again, tally_test",
          "killed: tally.cpp:4: m_sum += n; -> {}", "timeout: loop.cpp:4: n /= 2; -> {}",
          "1 from the earlier run", "score: 8 / 8 killed"], ["1 survived"],
     ["--again", "earlier.log", "--cache", "cache-again"]),
]

with tempfile.TemporaryDirectory() as tmp:
    project = os.path.join(tmp, "project")
    for rel, text in PROJECT.items():
        os.makedirs(os.path.dirname(os.path.join(project, rel)), exist_ok=True)
        with open(os.path.join(project, rel), "w") as f:
            f.write(text)
    accepted = os.path.join(tmp, "accepted.txt")
    with open(os.path.join(tmp, "earlier.log"), "w") as f:
        f.write("[1/3] survived: tally.cpp:4: m_sum += n; -> {}\n"
                "[2/3] killed (cached): tally.cpp:5: ++m_adds; -> {}\n")
    for number, (listed, present, absent, *extra) in enumerate(RUNS, 1):
        with open(accepted, "w") as f:
            f.write(listed)
        if extra:
            with open(os.path.join(project, "CMakeLists.txt"), "a") as f:
                f.write("add_test(NAME tally_again COMMAND tally_test)\n")
        options = [os.path.join(tmp, a) if a in ("earlier.log", "cache", "cache-again") else a
                   for a in (extra[0] if extra else ["--cache", "cache"])]
        run = subprocess.run([sys.executable, TOOL, "--root", project, "--work", f"{tmp}/work",
                              *options, "--accepted", accepted,
                              "--min-time-limit", "1", "tally.cpp", "loop.cpp"],
                             capture_output=True, text=True, timeout=300)
        out = run.stdout + run.stderr
        for text in present:
            check(f"run {number} shows {text!r}", text in out, True)
        for text in absent:
            check(f"run {number} lacks {text!r}", text in out, False)
        if any(f.startswith(f"run {number}") for f in failures):
            failures.append(f"run {number} printed:\n{out}")
    with open(os.path.join(project, "tally.cpp")) as f:
        check("the source tree is left as it was", f.read(), PROJECT["tally.cpp"])

print("\n".join(failures) or "all checks passed")
sys.exit(1 if failures else 0)
