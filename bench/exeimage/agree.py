#!/usr/bin/env python3
"""Agreement of `vesper res list` with `wrestool -l` (first language of each
resource, data addresses turned into file offsets) and of `vesper deps
--imports` with `objdump -p` (imports of files with an ".idata" section).
   bench/exeimage/agree.py [FILE...]     (default: every *.dll and *.exe under /usr)
VESPER=path/to/vesper chooses the build."""
import os, re, subprocess, sys

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
vesper = os.environ.get('VESPER', os.path.join(root, 'build', 'bin', 'vesper'))
objdump = 'x86_64-w64-mingw32-objdump'


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, errors='replace')


def our_resources(path):
    r = run(vesper, 'res', 'list', path)
    if r.returncode != 0:
        return None
    return {(int(p[-2], 16), int(p[-1], 16))
            for p in (l.split() for l in r.stdout.splitlines()[1:] if l.startswith('    '))}


def wrestool_resources(path):
    headers = run(objdump, '-h', path).stdout
    section = re.search(r'\.rsrc\s+\S+\s+(\S+)\s+\S+\s+(\S+)', headers)
    base = re.search(r'ImageBase\s+(\S+)', run(objdump, '-p', path).stdout)
    if not section or not base:
        return None
    delta = int(section[1], 16) - int(base[1], 16) - int(section[2], 16)
    seen, extents = set(), set()
    for m in re.finditer(r'--type=(\S+) --name=(\S+) .*offset=0x([0-9a-f]+) size=(\d+)', run('wrestool', '-l', path).stdout):
        if (m[1], m[2]) not in seen:
            seen.add((m[1], m[2]))
            extents.add((int(m[3], 16) - delta, int(m[4])))
    return extents


def our_imports(path):
    r = run(vesper, 'deps', path, '--imports')
    entries, module = set(), None
    for line in r.stdout.splitlines():
        if line.startswith('        '):
            entries.add((module, line.strip()))
        elif line.startswith('    '):
            module = line.strip()
    return entries


def objdump_imports(path):
    entries, module = set(), None
    for line in run(objdump, '-p', path).stdout.splitlines():
        if 'DLL Name: ' in line:
            module = line.split('DLL Name: ')[1].upper()
        elif not line.strip():
            module = None
        elif module and (m := re.match(r'^\s+[0-9a-f]+\s+\d+\s+(\S+)$', line)):
            name = m[1]
            entries.add((module, name[:-9] if len(name) >= 10 and name[-9] == '@' else name))
    return entries


def main(files):
    counts = {'resources agree': 0, 'resources differ': 0, 'imports agree': 0, 'imports differ': 0}
    for path in files:
        ours = our_resources(path)
        theirs = wrestool_resources(path) if ours is not None else None
        if ours is not None and theirs is not None:
            key = 'resources agree' if ours == theirs else 'resources differ'
            counts[key] += 1
            if ours != theirs:
                print('resources differ:', path, sorted(ours ^ theirs)[:4])
        if ' .idata ' in run(objdump, '-h', path).stdout:
            ours, theirs = our_imports(path), objdump_imports(path)
            counts['imports agree' if ours == theirs else 'imports differ'] += 1
            if ours != theirs:
                print('imports differ:', path, sorted(ours ^ theirs)[:4])
    print(', '.join(f'{k} {v}' for k, v in counts.items()))
    return 1 if counts['resources differ'] or counts['imports differ'] else 0


if __name__ == '__main__':
    files = sys.argv[1:] or [os.path.join(d, f) for d, _, names in os.walk('/usr') for f in names
                             if f.lower().endswith(('.dll', '.exe')) and os.path.isfile(os.path.join(d, f))]
    sys.exit(main(files))
