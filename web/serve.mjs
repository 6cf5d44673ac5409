// A static file server for the page folder on 127.0.0.1: used by ./web.sh and the browser check.
// It serves a file's precompressed copy (FILE.br, FILE.gz) where the browser takes it, as a
// static host can, and has every file revalidated, so a new build shows at once.
// Usage: node web/serve.mjs FOLDER [PORT]
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff': 'font/woff',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};
const ENCODINGS = [['br', '.br'], ['gzip', '.gz']];

// The copy of `file` to send for `accepted` (the request's Accept-Encoding): the first
// precompressed one the browser takes, else the file itself.
async function pickCopy(file, accepted) {
  const takes = new Set(String(accepted || '').split(',').map((part) => part.split(';')[0].trim()));
  for (const [encoding, suffix] of ENCODINGS) {
    if (!takes.has(encoding)) continue;
    const copy = await stat(file + suffix).catch(() => null);
    if (copy?.isFile()) return { path: file + suffix, encoding, info: copy };
  }
  return { path: file, encoding: null, info: await stat(file) };
}

// Serves `folder` on `port` (0 picks a free one); resolves to the server once it listens.
// A file is sent once `before(path)` has settled (the browser check holds files back with it).
// The server's bytesSent() counts every byte it has written, headers included.
export function serve(folder, port, before = () => null) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    await before(path);
    const file = resolve(join(root, path.endsWith('/') ? `${path}index.html` : path));
    try {
      if (!file.startsWith(root + sep)) throw new Error('outside the folder');
      const copy = await pickCopy(file, request.headers['accept-encoding']);
      if (!copy.info.isFile()) throw new Error('not a file');
      const tag = `"${copy.info.size}-${Math.round(copy.info.mtimeMs)}${copy.encoding ? `-${copy.encoding}` : ''}"`;
      const headers = { 'cache-control': 'no-cache', etag: tag, vary: 'Accept-Encoding' };
      if (request.headers['if-none-match'] === tag) {
        response.writeHead(304, headers);
        response.end();
        return;
      }
      const body = await readFile(copy.path);
      headers['content-type'] = TYPES[extname(file)] || 'application/octet-stream';
      if (copy.encoding) headers['content-encoding'] = copy.encoding;
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404, { 'content-type': 'text/plain' });
      response.end('not found');
    }
  });
  const sockets = new Set();
  let closedBytes = 0;
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => {
      closedBytes += socket.bytesWritten;
      sockets.delete(socket);
    });
  });
  server.bytesSent = () => [...sockets].reduce((sum, socket) => sum + socket.bytesWritten, closedBytes);
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const port = Number(process.argv[3] || 8080);
  try {
    const server = await serve(process.argv[2], port);
    console.log(`DOMRAK is at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops the server)`);
  } catch (error) {
    console.error(`Cannot serve on 127.0.0.1:${port} (${error.code || error.message}); is another server using that port?`);
    process.exit(1);
  }
}
