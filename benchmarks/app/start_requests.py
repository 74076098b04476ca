#!/usr/bin/env python3
"""Reads a Wine server trace (wineserver -d1) and prints the requests of a
program's main thread from its first request until its main window shows:
the first top-level dialog it makes, shown by a window position request."""
import collections
import re
import sys

SWP_SHOWWINDOW = 0x40
WS_CHILD = 0x40000000
DIALOG_ATOM = '8002'


def main():
    trace_path, image = sys.argv[1], sys.argv[2]
    with open(trace_path, errors='replace') as trace:
        lines = trace.read().split('\n')
    # The main thread is the one that looks up the image's own settings; its
    # requests start at that thread's last init_first_thread before it.
    found = next((i for i, line in enumerate(lines)
                  if 'get_key_value(' in line and ('"' + image + '"') in line), None)
    if found is None:
        sys.exit('no start of %s in the trace' % image)
    thread = lines[found].split(':')[0]
    first = max(i for i in range(found) if lines[i].startswith(thread + ': init_first_thread('))
    counts = collections.Counter()
    dialogs = set()
    shown = False
    for line in lines[first:]:
        if not line.startswith(thread + ': '):
            continue
        body = line[len(thread) + 2:]
        request = re.match(r'(\w+)\( ', body)
        if not request:
            # A reply: the handle of the dialog just made.
            if body.startswith('create_window() = 0') and pending_dialog[0]:
                handle = re.search(r'handle=(\w+)', body)
                if handle:
                    dialogs.add(handle.group(1))
            continue
        name = request.group(1)
        counts[name] += 1
        style = re.search(r'style=(\w+)', body)
        pending_dialog[0] = (name == 'create_window' and ('atom=' + DIALOG_ATOM) in body and style is not None
                             and not int(style.group(1), 16) & WS_CHILD)
        if name == 'set_window_pos':
            flags = re.search(r'swp_flags=(\w+)', body)
            handle = re.search(r'handle=(\w+)', body)
            if flags and handle and handle.group(1) in dialogs and int(flags.group(1), 16) & SWP_SHOWWINDOW:
                shown = True
                break
    total = sum(counts.values())
    print('%s: %d requests until the main window shows%s' % (image, total, '' if shown else ' (never shown)'))
    for name, count in counts.most_common(20):
        print('%6d %s' % (count, name))
    if not shown:
        sys.exit(1)


pending_dialog = [False]

if __name__ == '__main__':
    main()
