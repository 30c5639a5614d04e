#!/usr/bin/env python3
"""Two or more trawlit-cli builds against each other on a warm cache, interleaved: every
build runs every case once a round, in an order that turns each round, so that load and drift
fall on all of them alike. Prints per-case medians and, per build, the median of its paired
ratios to the first build; with the rare literal, each build's ratio to ripgrep.

  ./bench/run-ab.py CORPORA OUT ROUNDS NAME=path/to/trawlit-cli NAME=... [--cases REGEX]

A build run against a copy of itself shows the noise to expect (about +-2% on 2 CPUs)."""
import argparse, os, re, statistics, subprocess, time

CASES = [(name, literal, options) for name, literal, options in (
    ('common', 'return', []), ('common-i', 'return', ['-i']),
    ('rare', 'unfortunately', []), ('rare-i', 'unfortunately', ['-i']),
    ('none', 'xyzzy_not_there', []), ('counts', 'return', ['-c']))]


def trawlit_args(cli, root, literal, options, threads, results):
    args = [cli, 'search', '--root', root, '--find', literal, '--output', results]
    args += [] if '-i' in options else ['--case-sensitive']
    args += ['--counts-only'] if '-c' in options else []
    return args + (['--threads', str(threads)] if threads else [])


def rg_args(root, literal, options):
    return ['rg', '-uuu', '-a', '-n', '-F', '--no-heading', '--no-config', *options, '--',
            literal, root]


def timed(args, stdout_path=os.devnull):
    start = time.perf_counter()
    with open(stdout_path, 'wb') as out:
        subprocess.run(args, stdout=out, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('corpora')
    parser.add_argument('out')
    parser.add_argument('rounds', type=int)
    parser.add_argument('builds', nargs='+', help='NAME=path/to/trawlit-cli; the first is the base')
    parser.add_argument('--cases', default='.', help='a regex on case names such as small-rare-t1')
    a = parser.parse_args()
    builds = dict(b.split('=', 1) for b in a.builds)
    names = list(builds)
    cases = [(f'{corpus}-{name}' + ('-t1' if threads else ''), corpus, literal, options, threads)
             for corpus in ('small', 'big') for name, literal, options in CASES
             for threads in (None, 1)]
    cases = [c for c in cases if re.search(a.cases, c[0])]
    os.makedirs(a.out, exist_ok=True)
    for corpus in ('small', 'big'):
        subprocess.run(f'find {a.corpora}/{corpus} -type f -print0 | xargs -0 cat > /dev/null',
                       shell=True, check=False)
    times = {(c[0], n): [] for c in cases for n in names + ['rg']}
    for round_number in range(a.rounds):
        turn = round_number % len(names)
        for case, corpus, literal, options, threads in cases:
            root = f'{a.corpora}/{corpus}'
            for name in names[turn:] + names[:turn]:
                args = trawlit_args(builds[name], root, literal, options, threads,
                                    f'{a.out}/{name}.txt')
                times[(case, name)].append(timed(args))
            if case.endswith('-rare'):
                times[(case, 'rg')].append(timed(rg_args(root, literal, options), f'{a.out}/rg.txt'))
    base = names[0]
    print('| case | ' + ' | '.join(f'{n} ms' for n in names)
          + ''.join(f' | {n}/{base} paired median' for n in names[1:]) + ' |')
    print('|---' * (2 * len(names)) + '|')
    for case, *_ in cases:
        medians = [statistics.median(times[(case, n)]) * 1000 for n in names]
        ratios = [statistics.median(b / a for a, b in zip(times[(case, base)], times[(case, n)]))
                  for n in names[1:]]
        print(f'| {case} | ' + ' | '.join(f'{m:.0f}' for m in medians)
              + ''.join(f' | {r:.3f}' for r in ratios) + ' |')
    for case, *_ in cases:
        if times[(case, 'rg')]:
            rg = statistics.median(times[(case, 'rg')])
            print(f'{case}: ' + ', '.join(
                f'{n}/rg {statistics.median(times[(case, n)]) / rg:.2f}' for n in names))


if __name__ == '__main__':
    main()
