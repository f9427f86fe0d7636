#!/usr/bin/env python3
"""A local static server for the built page, on 127.0.0.1 only.

Like `python3 -m http.server`, plus what a host with precompressed files
does (nginx's `gzip_static on`, for one): a request for X, when X.gz lies
next to it and the browser accepts gzip, gets X.gz's bytes with
`Content-Encoding: gzip` and X's own type. The page then loads about a
third of its size on disk, as it would from such a host.

Usage: web/serve.py [PORT] [--directory DIR]     (PORT 0: any free port)
"""
import argparse
import datetime
import email.utils
import functools
import http.server
import os
import sys
from http import HTTPStatus


def accepts_gzip(header):
    """Whether an Accept-Encoding value allows gzip. "gzip;q=0" refuses it,
    and a named gzip counts before "*"."""
    named = anything = None
    for item in (header or '').split(','):
        coding, *params = [p.strip() for p in item.split(';')]
        q = 1.0
        for p in params:
            name, _, value = p.partition('=')
            if name.strip().lower() == 'q':
                try:
                    q = float(value)
                except ValueError:
                    q = 0.0
        coding = coding.lower()
        if coding in ('gzip', 'x-gzip'):
            named = max(named or 0.0, q)
        elif coding == '*':
            anything = q
    if named is not None:
        return named > 0
    return anything is not None and anything > 0


class Handler(http.server.SimpleHTTPRequestHandler):
    # Python's table may not know it on older systems; browsers compile
    # a streamed .wasm only with this type.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm'}

    def send_head(self):
        # translate_path keeps the answer inside the directory ("..", drive
        # letters and the like are dropped); the .gz name is built from it.
        path = self.translate_path(self.path)
        compressed = path + '.gz'
        self._vary = False
        if path.endswith('/') or os.path.isdir(path) or not os.path.isfile(compressed):
            return super().send_head()
        # A .gz older than its file is left over from an earlier build (gzip
        # gives the copy its file's time): the file itself is the one to send.
        if os.path.isfile(path) and os.path.getmtime(compressed) < os.path.getmtime(path):
            return super().send_head()
        # Caches must keep the two answers apart.
        self._vary = True
        if not accepts_gzip(self.headers.get('Accept-Encoding')):
            return super().send_head()
        try:
            f = open(compressed, 'rb')
        except OSError:
            return super().send_head()
        try:
            st = os.fstat(f.fileno())
            if self._not_modified_since(st.st_mtime):
                self.send_response(HTTPStatus.NOT_MODIFIED)
                self.end_headers()
                f.close()
                return None
            self.send_response(HTTPStatus.OK)
            self.send_header('Content-Type', self.guess_type(path))
            self.send_header('Content-Encoding', 'gzip')
            self.send_header('Content-Length', str(st.st_size))
            self.send_header('Last-Modified', self.date_time_string(st.st_mtime))
            self.end_headers()
            return f
        except BaseException:
            f.close()
            raise

    def end_headers(self):
        if getattr(self, '_vary', False):
            self.send_header('Vary', 'Accept-Encoding')
        super().end_headers()

    def _not_modified_since(self, mtime):
        # As http.server does for plain files: If-Modified-Since counts only
        # without If-None-Match, and only in UTC.
        if 'If-Modified-Since' not in self.headers or 'If-None-Match' in self.headers:
            return False
        try:
            since = email.utils.parsedate_to_datetime(self.headers['If-Modified-Since'])
        except (TypeError, IndexError, OverflowError, ValueError):
            return False
        if since.tzinfo is None:
            since = since.replace(tzinfo=datetime.timezone.utc)
        if since.tzinfo is not datetime.timezone.utc:
            return False
        modified = datetime.datetime.fromtimestamp(mtime, datetime.timezone.utc).replace(microsecond=0)
        return modified <= since


def main():
    parser = argparse.ArgumentParser(description='Serves the built page on 127.0.0.1, '
                                                 'precompressed .gz files where the browser takes them.')
    parser.add_argument('port', nargs='?', type=int, default=8000, help='0 picks a free port (default 8000)')
    parser.add_argument('--directory', '-d', default=os.getcwd(), help='the folder served (default: this one)')
    args = parser.parse_args()
    if not os.path.isdir(args.directory):
        parser.error(f'{args.directory} is not a folder')
    handler = functools.partial(Handler, directory=os.path.abspath(args.directory))
    with http.server.ThreadingHTTPServer(('127.0.0.1', args.port), handler) as httpd:
        host, port = httpd.socket.getsockname()[:2]
        # Read by the browser checks to learn the port: flushed, as their
        # standard output is a pipe.
        print(f'Serving HTTP on {host} port {port} (http://{host}:{port}/) ...', flush=True)
        try:
            httpd.serve_forever()
        except KeyboardInterrupt:
            print('\nStopped.')
    return 0


if __name__ == '__main__':
    sys.exit(main())
