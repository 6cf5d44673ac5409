// A static file server for the page folder on 127.0.0.1: used by ./web.sh and the browser check.
// Usage: node web/serve.mjs FOLDER [PORT]
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff': 'font/woff',
};

// Serves `folder` on `port` (0 picks a free one); resolves to the server once it listens.
// A file is sent once `before(path)` has settled (the browser check holds files back with it).
export function serve(folder, port, before = () => null) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    await before(path);
    const file = resolve(join(root, path.endsWith('/') ? `${path}index.html` : path));
    try {
      if (!file.startsWith(root + sep)) throw new Error('outside the folder');
      const body = await readFile(file);
      response.writeHead(200, { 'content-type': TYPES[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404, { 'content-type': 'text/plain' });
      response.end('not found');
    }
  });
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
