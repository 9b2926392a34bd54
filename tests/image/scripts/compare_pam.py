#!/usr/bin/env python3
"""Compares decoded pictures: our PAM dumps against raw RGBA from a reference
decoder. Fully transparent pixels match whatever their colour.

compare_pam.py <ours.pam> <reference.rgba> <width> <height> <tolerance> [--rgb] [--psnr DB] [--print-psnr]
--rgb compares colours only (for formats that do not carry the alpha), --psnr
asks for a peak signal-to-noise ratio of at least DB instead of a tolerance.
Exit 0 on a match; prints the reason otherwise."""
import math
import sys


def read_pam(path):
    data = open(path, 'rb').read()
    end = data.index(b'ENDHDR\n') + len(b'ENDHDR\n')
    fields = dict(line.split(' ', 1) for line in data[:end].decode().splitlines()[1:-1])
    return int(fields['WIDTH']), int(fields['HEIGHT']), data[end:]


def main():
    ours, ref, w, h, tol = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    opts = sys.argv[6:]
    rgb_only = '--rgb' in opts
    min_psnr = float(opts[opts.index('--psnr') + 1]) if '--psnr' in opts else None
    print_psnr = '--print-psnr' in opts
    ow, oh, a = read_pam(ours)
    b = open(ref, 'rb').read()
    if (ow, oh) != (w, h):
        print(f'size {ow}x{oh}, reference {w}x{h}')
        return 1
    if len(b) < w * h * 4:
        print('reference too short')
        return 1
    b = b[len(b) - w * h * 4:]  # the last frame of a coalesced animation
    worst = 0
    sq = 0
    for i in range(0, w * h * 4, 4):
        if not rgb_only and a[i + 3] == 0 and b[i + 3] == 0:
            continue
        for k in range(3 if rgb_only else 4):
            d = abs(a[i + k] - b[i + k])
            sq += d * d
            if d > worst:
                worst = d
    if min_psnr is not None or print_psnr:
        mse = sq / (w * h * (3 if rgb_only else 4))
        psnr = 99.0 if mse == 0 else 10 * math.log10(255 * 255 / mse)
        if print_psnr:
            print(f'{psnr:.2f}')
            return 0
        if psnr < min_psnr:
            print(f'PSNR {psnr:.1f} dB below {min_psnr}')
            return 1
        return 0
    if worst > tol:
        print(f'channel difference {worst} above {tol}')
        return 1
    return 0


sys.exit(main())
