"""The command line of scripts/mutate.py."""

import argparse
import concurrent.futures
import os
import time

from . import lists, x87
from .operators import generate
from .reading import ROOT, Program, configure
from .running import BULK, Worker


def options_parser(description):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--work", default=None)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument(
        "--sample", type=int, default=1, help="run every K-th mutant only (a fixed sample)"
    )
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument(
        "--only",
        default="",
        help="comma-separated texts: run the mutants whose description has one",
    )
    parser.add_argument(
        "--x87",
        action="store_true",
        help="the mutants of the code only x87 runs, judged on an i386 cross build under "
        "qemu-i386 (work folder build-mutants-x87 unless --work is given)",
    )
    parser.add_argument(
        "--update-expected",
        action="store_true",
        help="write today's counts to tools/mutation/expected.txt",
    )
    return parser


def run_mutants(work, jobs, to_run, folders, on_x87=False):
    """{id(mutant): (status, test)} of every mutant run, and the bulk suites' names."""
    results = {}
    if not to_run:
        return results, set()
    # The workers' first builds run side by side, one core each.
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        workers = list(pool.map(lambda n: Worker(work, n, folders, on_x87), range(jobs)))
    bulk = {
        name for tests in workers[0].order.values() for name, _, labels in tests if BULK in labels
    }
    # Each worker takes the mutants of whole files, so that it rebuilds little.
    by_worker = [[] for _ in workers]
    for i, mutant in enumerate(sorted(to_run, key=lambda m: (m.path, m.start))):
        by_worker[(i * jobs) // len(to_run)].append(mutant)

    def work_through(index):
        for mutant in by_worker[index]:
            results[id(mutant)] = workers[index].run(mutant)
            status, _ = results[id(mutant)]
            if status != "killed":
                print(f"  {status}: {mutant.describe()}", flush=True)

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        list(pool.map(work_through, range(jobs)))
    return results, bulk


def main(description):
    options = options_parser(description).parse_args()
    if options.work is None:
        options.work = os.path.join(ROOT, "build-mutants-x87" if options.x87 else "build-mutants")
    started = time.time()
    os.makedirs(options.work, exist_ok=True)
    program = Program(configure(os.path.join(options.work, "read")))
    mutants = generate(program)
    if options.update_expected:
        lists.write_expected(mutants)
    equivalents = lists.read_equivalents()
    problems = lists.check_lists(mutants, equivalents, lists.read_expected())

    if options.x87:
        mutants = x87.only_on_x87(program, mutants)

    def listed(mutant):
        return next((e for e in equivalents if e.matches(mutant)), None)

    if options.list:
        for mutant in mutants:
            print(mutant.describe() + ("  (equivalent)" if listed(mutant) else ""))
        for problem in problems:
            print(f"error: {problem}")
        return 1 if problems else 0
    if problems:
        for problem in problems:
            print(f"error: {problem}")
        return 1
    chosen = [m for i, m in enumerate(mutants) if i % options.sample == 0]
    if options.only:
        wanted = options.only.split(",")
        chosen = [m for m in chosen if any(w in m.describe() for w in wanted)]
    to_run = [m for m in chosen if not listed(m)]
    jobs = max(1, min(options.jobs, len(to_run)))
    print(
        f"{len(mutants)} mutants, {len(chosen)} chosen, {len(chosen) - len(to_run)} listed "
        f"as equivalent; running {len(to_run)} with {jobs} workers",
        flush=True,
    )
    folders = sorted({path.split("/")[0] for path in program.sources})
    results, bulk = run_mutants(options.work, jobs, to_run, folders, options.x87)

    report = os.path.join(options.work, "report.txt")
    counts = {"killed": 0, "survived": 0, "invalid": 0, "equivalent": 0}
    bulk_only = 0
    with open(report, "w", encoding="utf-8") as out:
        for mutant in chosen:
            entry = listed(mutant)
            status, killer = ("equivalent", entry.reason) if entry else results[id(mutant)]
            counts[status] += 1
            if status == "killed" and killer.split()[0] in bulk:
                bulk_only += 1
            out.write(f"{mutant.describe()}\n    {status}{': ' + killer if killer else ''}\n")
    minutes = (time.time() - started) / 60
    print(
        f"generated {len(mutants)}, chosen {len(chosen)}: killed {counts['killed']} "
        f"({bulk_only} only by the bulk suites), equivalent {counts['equivalent']}, "
        f"invalid {counts['invalid']}, survived {counts['survived']}; {minutes:.1f} min"
    )
    print(f"report: {report}")
    return 1 if counts["survived"] else 0
