// Writes the page folder's service worker: web/service-worker.js with the cache name (the hash
// of every file of the build) and the list of files to keep, so a new build gets a new cache.
// Usage: node web/make_service_worker.mjs FOLDER
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const folder = process.argv[2];
const WORKER = 'service-worker.js';
const files = readdirSync(folder, { withFileTypes: true })
  .filter((entry) => entry.isFile() && !/\.(gz|br)$/.test(entry.name) && entry.name !== WORKER)
  .map((entry) => entry.name)
  .sort();
const hash = createHash('sha256');
for (const name of files) hash.update(`${name}\0`).update(readFileSync(join(folder, name)));
const template = readFileSync(new URL(WORKER, import.meta.url), 'utf8');
const worker = `const OFFLINE_CACHE = 'domrak-${hash.digest('hex').slice(0, 16)}';\n`
  + `const OFFLINE_FILES = ${JSON.stringify(['./', ...files])};\n${template}`;
const path = join(folder, WORKER);
let old = null;
try {
  old = readFileSync(path, 'utf8');
} catch {
  // the first build
}
if (old !== worker) writeFileSync(path, worker);
