#!/usr/bin/env python3
"""Lists every #include that climbs a layer: the folders under src/ are the
layers, lowest first in ORDER, and each may include only folders before it.
Exits 1 when one climbs."""
import os
import re
import sys

ORDER = ['core', 'exif', 'fs', 'imaging', 'job', 'render', 'run', 'settings', 'publish', 'dialogs',
         'viewer', 'capture', 'ui', 'app']
RANK = {layer: i for i, layer in enumerate(ORDER)}
INCLUDE = re.compile(r'\s*#\s*include\s+"([a-z_]+)/')

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
src = os.path.join(os.path.normpath(root), 'src')
climbs = 0
for folder in sorted(os.listdir(src)):
    if not os.path.isdir(os.path.join(src, folder)):
        continue
    if folder not in RANK:
        print(f'src/{folder}: a folder that is no layer')
        climbs += 1
        continue
    for dirpath, _, names in os.walk(os.path.join(src, folder)):
        for name in sorted(names):
            path = os.path.join(dirpath, name)
            with open(path, encoding='utf-8') as f:
                for n, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if m and RANK.get(m.group(1), len(ORDER)) > RANK[folder]:
                        print(f'{os.path.relpath(path, os.path.dirname(src))}:{n}: {line.strip()}')
                        climbs += 1
print(f'{climbs} include(s) climb a layer')
sys.exit(1 if climbs else 0)
