// Measures the browser edition in the system's headless Chromium, at the page's default pass rate:
//   - the first frame's time from navigation (the page served from the loopback);
//   - the program's size (quorvex.wasm, as served and gzip-compressed);
//   - during 10 s of play: the frames' spacing (median, 95th percentile) and how busy the page's main
//     thread is (the browser's own count of its tasks' time).
// Nothing is asserted: the figures are printed for a person to read.
//
//   node bench/web/measure_web.mjs SITE_DIR     (SITE_DIR: build/web)
import { readFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { launch, pointAt, serve } from '../../tests/web/lib.mjs';

const site = process.argv[2] || 'build/web';
const wasm = readFileSync(`${site}/quorvex.wasm`);
console.log(`quorvex.wasm: ${(wasm.length / 1024).toFixed(0)} KB, ${(gzipSync(wasm, { level: 9 }).length / 1024).toFixed(0)} KB compressed`);

const server = await serve(site);
const browser = await launch();
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(server.url);
  const first = await page.evaluate(async () => {
    while (!QuorvexPage.presents.length) await new Promise((r) => setTimeout(r, 5));
    return QuorvexPage.presents[0];
  });
  console.log(`first frame: ${first.toFixed(0)} ms after navigation`);
  await page.waitForTimeout(8000); // the intro
  await pointAt(page, 300, 457);
  await page.mouse.down();
  await page.mouse.up();
  await page.waitForTimeout(1500);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const busy = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const [busy0, t0] = [await busy(), await page.evaluate(() => performance.now())];
  await page.waitForTimeout(10000);
  const [busy1, t1] = [await busy(), await page.evaluate(() => performance.now())];
  const gaps = await page.evaluate(([from, to]) => {
    const times = QuorvexPage.presents.filter((t) => t >= from && t <= to);
    return times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
  }, [t0, t1]);
  const at = (p) => gaps[Math.min(gaps.length - 1, Math.floor((gaps.length * p) / 100))];
  // The mean of the gaps in play (the pauses left out) shows frames a millisecond late, which the median hides.
  const inPlay = gaps.filter((g) => g < 30);
  const mean = inPlay.reduce((a, b) => a + b, 0) / inPlay.length;
  console.log(`play, 10 s: ${gaps.length + 1} frames, ${at(50).toFixed(1)} ms apart (median), p95 ${at(95).toFixed(1)} ms, ` +
    `mean ${mean.toFixed(2)} ms without the "Get Ready" pauses (after a lost life: long gaps)`);
  const metrics = (await cdp.send('Performance.getMetrics')).metrics.filter((m) => /Duration/.test(m.name)).map((m) => `${m.name}=${m.value.toFixed(2)}`);
  console.log(metrics.join(' '));
  // Per frame as well: a game that loses its lives quickly spends more of the 10 s in "Get Ready" pauses.
  console.log(`the page's main thread busy: ${((100 * (busy1 - busy0)) / ((t1 - t0) / 1000)).toFixed(1)} %, ` +
    `${((1000 * (busy1 - busy0)) / (gaps.length + 1)).toFixed(2)} ms a frame`);
} finally {
  await browser.close();
  await server.close();
}
