#!/usr/bin/env python3
"""Plants fault N (0-based) of mutants.txt: its "- " lines, found once in its file by their text
(indentation aside), become its "+ " lines. Prints the file and the fault's description.

    checks/mutation/apply.py N
"""
import re
import sys

blocks = re.split(r'^@ ', open('checks/mutation/mutants.txt').read(), flags=re.M)[1:]
head, *body = blocks[int(sys.argv[1])].rstrip('\n').split('\n')
path, what = head.split(': ', 1)
old = [l[2:].strip() for l in body if l.startswith('- ')]
new = [l[2:].strip() for l in body if l.startswith('+ ')]
text = open(path).read()
lines = [r'[ \t]*' + re.escape(l) + r'[ \t]*$' for l in old]
pattern = '^([ \t]*)' + '\n'.join(lines)[len(r'[ \t]*'):]
found = list(re.finditer(pattern, text, flags=re.M))
if len(found) != 1:
    sys.exit(f'{path}: "{old[0]}" found {len(found)} times')
m = found[0]
indent = m.group(1)
replacement = ''.join(indent + l + '\n' for l in new)
end = m.end() + 1 if m.end() < len(text) and text[m.end()] == '\n' else m.end()
open(path, 'w').write(text[:m.start()] + replacement + text[end:])
print(path + '\t' + what)
