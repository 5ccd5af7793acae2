// Serves the built site from a folder on this machine only, for playing and
// for the browser tests: static files with their types, nothing else.
//   node serve.mjs SITE_FOLDER [PORT]   (PORT 0 or none: any free port)
import { createReadStream, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve, sep } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
};

// The page's Content-Security-Policy, as its own meta tag states it, sent as
// a header too; frame-ancestors only works in a header.
function securityPolicy(root) {
  try {
    const page = readFileSync(join(root, 'index.html'), 'utf8');
    const meta = page.match(/http-equiv="Content-Security-Policy"\s+content="([^"]*)"/);
    return meta ? `${meta[1]}; frame-ancestors 'none'` : null;
  } catch {
    return null;
  }
}

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const policy = securityPolicy(root);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url ?? '/', 'http://localhost').pathname);
    let file = normalize(join(root, path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      if (statSync(file).isDirectory()) file = join(file, 'index.html');
      const size = statSync(file).size;
      const headers = { 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream',
        'Content-Length': size, 'Cache-Control': 'no-cache', 'X-Content-Type-Options': 'nosniff' };
      if (policy && extname(file) === '.html') headers['Content-Security-Policy'] = policy;
      response.writeHead(200, headers);
      createReadStream(file).pipe(response);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
    }
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: serve.mjs SITE_FOLDER [PORT]');
    process.exit(2);
  }
  const server = await serve(folder, Number(port ?? 0));
  console.log(`Tesva is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
}
