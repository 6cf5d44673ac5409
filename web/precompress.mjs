// Puts a gzip and a Brotli copy (FILE.gz, FILE.br) beside each file of the page folder that
// they make smaller, for hosts that send them to browsers that take them; a copy newer than
// its file is kept as it is.
// Usage: node web/precompress.mjs FOLDER
import { readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const COMPRESSORS = {
  '.gz': (data) => gzipSync(data, { level: 9 }),
  '.br': (data) => brotliCompressSync(data, {
    params: { [constants.BROTLI_PARAM_QUALITY]: 11, [constants.BROTLI_PARAM_SIZE_HINT]: data.length },
  }),
};

const folder = process.argv[2];
const mtime = (path) => statSync(path, { throwIfNoEntry: false })?.mtimeMs;
for (const name of readdirSync(folder)) {
  const path = join(folder, name);
  if (/\.(gz|br)$/.test(name) || !statSync(path).isFile()) continue;
  const data = readFileSync(path);
  for (const [suffix, compress] of Object.entries(COMPRESSORS)) {
    if (mtime(path + suffix) > mtime(path)) continue;
    const copy = compress(data);
    if (copy.length < data.length) writeFileSync(path + suffix, copy);
    else rmSync(path + suffix, { force: true });
  }
}
