#!/usr/bin/env python3
"""Writes the page, its service worker and its manifest into a built site.

The game's three big files (game.js, game.wasm, game.data) are loaded as
NAME?v=HASH, HASH taken from their contents, and the page checks each one's
size when it arrives; both go into index.html here. sw.js gets the same
names to store, and a version made from everything it stores, so every
build that changes a file brings a new worker and a new store.

Usage: web/stamp-site.py SITE_DIR [WEB_SOURCE_DIR]
"""
import hashlib
import json
import os
import sys

BIG_FILES = ('game.js', 'game.wasm', 'game.data')
EXTRA_FILES = ('manifest.webmanifest', 'icon-192.png', 'icon-512.png')


def digest(data):
    return hashlib.sha256(data).hexdigest()[:16]


def write_if_changed(path, text):
    data = text.encode('utf-8')
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)


def fill(template, placeholder, value, what):
    if placeholder not in template:
        sys.exit(f'stamp-site: {what} has no {placeholder}')
    return template.replace(placeholder, value)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip().splitlines()[-1])
    site = sys.argv[1]
    source = sys.argv[2] if len(sys.argv) == 3 else os.path.dirname(os.path.abspath(__file__))
    files = {}
    for name in BIG_FILES:
        path = os.path.join(site, name)
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as e:
            sys.exit(f'stamp-site: {path}: {e.strerror}')
        files[name] = {'v': digest(data), 'size': len(data)}

    with open(os.path.join(source, 'index.html'), encoding='utf-8') as f:
        page = fill(f.read(), '/*@TW_FILES@*/null', json.dumps(files, sort_keys=True), 'index.html')
    with open(os.path.join(source, 'manifest.webmanifest'), encoding='utf-8') as f:
        manifest = f.read()
    json.loads(manifest)  # a broken manifest stops the build, not the install prompt

    for name in EXTRA_FILES[1:]:
        if not os.path.isfile(os.path.join(site, name)):
            sys.exit(f'stamp-site: {os.path.join(site, name)} is missing')
    stored = ['index.html'] + [f'{n}?v={files[n]["v"]}' for n in BIG_FILES] + list(EXTRA_FILES)
    version_source = page + manifest + ''.join(files[n]['v'] for n in BIG_FILES)
    for name in EXTRA_FILES[1:]:
        with open(os.path.join(site, name), 'rb') as f:
            version_source += digest(f.read())
    version = digest(version_source.encode('utf-8'))
    with open(os.path.join(source, 'sw.js'), encoding='utf-8') as f:
        worker = f.read()
    worker = fill(worker, '@TW_VERSION@', version, 'sw.js')
    worker = fill(worker, '/*@TW_PRECACHE@*/[]', json.dumps(stored), 'sw.js')

    write_if_changed(os.path.join(site, 'index.html'), page)
    write_if_changed(os.path.join(site, 'sw.js'), worker)
    write_if_changed(os.path.join(site, 'manifest.webmanifest'), manifest)
    print(f'stamp-site: version {version}: ' + ', '.join(f'{n} {files[n]["v"]}' for n in BIG_FILES))
    return 0


if __name__ == '__main__':
    sys.exit(main())
