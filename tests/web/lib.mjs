// What the page tests share: a static server for the site, the system's Chromium driven by
// playwright-core (it never downloads a browser), and reading the program's windows off the page.
import { execFileSync, spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, rmSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { chromium } from 'playwright-core';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.png': 'image/png', '.ttf': 'font/ttf' };

// Serves `root` on a free port of the loopback; resolves to { url, close }.
export function serve(root) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    try {
      const body = await readFile(join(root, path.endsWith('/') ? `${path}index.html` : path));
      response.writeHead(200, { 'Content-Type': types[extname(path) || '.html'] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => server.close(done)),
  })));
}

// The site as a player publishes it: the zip unpacked into a fresh folder and served by another static
// server, Python's, on a free port of the loopback; resolves to { url, close }.
export function serveZip(zip) {
  const root = mkdtempSync(join(tmpdir(), 'quorvex-site-'));
  execFileSync('python3', ['-m', 'zipfile', '-e', zip, root]);
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', root],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  const close = () => {
    server.kill();
    rmSync(root, { recursive: true, force: true });
  };
  return new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = said.match(/port (\d+)/)?.[1];
      if (port) resolve({ url: `http://127.0.0.1:${port}/`, close });
    });
    server.on('exit', () => reject(new Error(`python3 -m http.server ended: ${said}`)));
  });
}

// The system's Chromium, headless, with nothing that reaches for the network.
export function launch() {
  return chromium.launch({
    executablePath: process.env.QUORVEX_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
}

let failures = 0;
export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures += 1;
  return ok;
}
export const failed = () => failures;

// Waits until `probe()` is truthy (polled), up to `ms`; resolves to its last value.
export async function until(probe, ms) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await probe();
    if (value || Date.now() > end) return value;
    await new Promise((r) => setTimeout(r, 50));
  }
}

// The last shown window's canvas as the program drew it: { width, height, data } (RGBA bytes). The
// pixels cross as one base64 string: as an array of numbers they would take seconds.
export async function windowImage(page) {
  const image = await page.evaluate(() => {
    const canvas = [...document.querySelectorAll('.window:not([hidden]) canvas')].pop();
    if (!canvas) return null;
    const { data, width, height } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let text = '';
    for (let at = 0; at < data.length; at += 0x8000) text += String.fromCharCode(...data.subarray(at, at + 0x8000));
    return { width, height, base64: btoa(text) };
  });
  return image && { width: image.width, height: image.height, data: Buffer.from(image.base64, 'base64') };
}

// Clicks the image point (x, y) of the last shown window, or presses it down only.
export async function pointAt(page, x, y) {
  const canvas = page.locator('.window:not([hidden]) canvas').last();
  const box = await canvas.boundingBox();
  const width = await canvas.evaluate((c) => c.width);
  const height = await canvas.evaluate((c) => c.height);
  await page.mouse.move(box.x + ((x + 0.5) * box.width) / width, box.y + ((y + 0.5) * box.height) / height);
}
