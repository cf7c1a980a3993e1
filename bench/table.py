#!/usr/bin/env python3
"""Turns bench_codec's JSON output (default allocator, warm heap) into the
markdown table of bench/README.md, with the goals met or missed."""
import json
import sys

# Rows in this order; each is compared with memcpy of as many bytes as the
# decoded tree of values holds (image rows: encode reads that tree, decode
# writes it) or as the byte list.
ORDER = ['OursEncode', 'MsgpackPackImage', 'MemcpyMessage', 'OursDecode',
         'MsgpackUnpackImage', 'MemcpyTree', 'OursEncodeByteList',
         'OursDecodeByteList', 'MemcpyByteList']
BASELINE = {name: 'MemcpyTree' for name in ORDER[:5]}
BASELINE.update({'OursEncodeByteList': 'MemcpyByteList',
                 'OursDecodeByteList': 'MemcpyByteList'})


def medians(path):
    with open(path) as f:
        runs = json.load(f)['benchmarks']
    rows = {}
    for run in runs:
        if run.get('aggregate_name', 'median') != 'median':
            continue
        name, n = run['run_name'].split('/')[:2]
        rows[(name, int(n))] = run
    return rows


def ns_per_element(run):
    return run['ns_per_element'] * 1e9


def main(default_path, warm_path):
    default, warm = medians(default_path), medians(warm_path)
    print('| Operation | Elements | ns/element (default) | ns/element (warm) '
          '| x memcpy (default) | x memcpy (warm) | result bytes/element '
          '| peak MB | peak / result | allocations |')
    print('|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|')
    for key in sorted(warm, key=lambda k: (ORDER.index(k[0]) // 6, k[1],
                                           ORDER.index(k[0]))):
        run = warm[key]
        name, n = key
        cells = [name, f'{n:,}']
        cells += [f'{ns_per_element(default[key]):.2f}',
                  f'{ns_per_element(run):.2f}']
        for rows in (default, warm):
            base = rows.get((BASELINE.get(name), n))
            cells.append(f'{ns_per_element(rows[key]) / ns_per_element(base):.2f}'
                         if base else '')
        peak = run['peak_over_result'] * run['result_bytes_per_element'] * n
        cells += [f"{run['result_bytes_per_element']:.2f}",
                  f'{peak / 1e6:.1f}',
                  f"{run['peak_over_result']:.2f}",
                  f"{run['allocations']:.0f}"]
        print('| ' + ' | '.join(cells) + ' |')

    def ns(name, n, rows=warm):
        return ns_per_element(rows[(name, n)])
    print()
    print('| Goal (warm heap) | Measured | Met |')
    print('|---|---|---|')
    goals = []
    for n in (2_000_000, 8_000_000):
        decode, unpack = ns('OursDecode', n), ns('MsgpackUnpackImage', n)
        encode = ns('OursEncode', n)
        peak = warm[('OursDecode', n)]['peak_over_result']
        goals += [
            (f'decode {n:,} <= 2 ns/element', f'{decode:.2f}', decode <= 2),
            (f'decode {n:,} >= 3x faster than msgpack unpack',
             f'{unpack / decode:.1f}x', unpack / decode >= 3),
            (f'decode {n:,} peak <= finished tree', f'{peak:.3f}',
             peak <= 1.0005),
            (f'encode {n:,} <= 2 ns/element', f'{encode:.2f}', encode <= 2),
        ]
    byte_list = 8 << 20
    copy = ns('MemcpyByteList', byte_list)
    for name in ('OursEncodeByteList', 'OursDecodeByteList'):
        ratio = ns(name, byte_list) / copy
        goals.append((f'{name} within 1.1x of memcpy', f'{ratio:.2f}x',
                      ratio <= 1.1))
    exact = all(run.get('exactly_sized', 1) == 1 for run in warm.values())
    goals.append(('encode into one exactly sized buffer',
                  'yes' if exact else 'no', exact))
    for goal, measured, met in goals:
        print(f'| {goal} | {measured} | {"yes" if met else "NO"} |')


if __name__ == '__main__':
    main(*sys.argv[1:3])
