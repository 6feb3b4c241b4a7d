// The browser edition's page in headless Chromium, as a player meets it: the intro, its length and its
// rested title (banner and button pixel for pixel as the desktop shows them), the start by the mouse
// and by Return, play (the arrows move the ship, Space fires and kills, the caption counts 41 thousand
// passes a second), a pause when the tab is hidden and P to play on, full screen and back, and the
// question after the last life answered Yes, then No, after which the page offers to play again; the
// address's pass rate, a bad argument, and a run-time error's box. The site is the zip, unpacked and
// served by Python's server.
//
//   node page_test.mjs SITE_ZIP REFERENCE_PNG_DIR
import { readFileSync } from 'node:fs';
import { inflateSync } from 'node:zlib';
import { check, failed, launch, pointAt, serveZip, until, windowImage } from './lib.mjs';

const [zip, references] = process.argv.slice(2);
if (!zip || !references) {
  console.error('usage: page_test.mjs SITE_ZIP REFERENCE_PNG_DIR');
  process.exit(2);
}

// An 8-bit RGB or RGBA PNG as { width, height, rgb(x, y) } (the references are written so).
function readPng(path) {
  const file = readFileSync(path);
  let at = 8, width = 0, height = 0, channels = 3;
  const chunks = [];
  while (at < file.length) {
    const length = file.readUInt32BE(at), type = file.toString('ascii', at + 4, at + 8);
    const data = file.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      channels = data[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') chunks.push(data);
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(chunks)), stride = width * channels, pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], row = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? pixels[y * stride + i - channels] : 0, up = y > 0 ? pixels[(y - 1) * stride + i] : 0;
      const corner = i >= channels && y > 0 ? pixels[(y - 1) * stride + i - channels] : 0;
      const p = left + up - corner, pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - corner);
      const predictor = [0, left, up, (left + up) >> 1, pa <= pb && pa <= pc ? left : pb <= pc ? up : corner][filter];
      pixels[y * stride + i] = (row[i] + predictor) & 0xff;
    }
  }
  return { width, height, rgb: (x, y) => [0, 1, 2].map((c) => pixels[y * stride + x * channels + c]) };
}

const rgbAt = (image, x, y) => [0, 1, 2].map((c) => image.data[4 * (y * image.width + x) + c]);
// The pixels of `box` ([left, top, width, height]) that differ between the window and the reference.
function differing(image, reference, [left, top, width, height]) {
  let count = 0;
  for (let y = top; y < top + height; ++y)
    for (let x = left; x < left + width; ++x)
      if (rgbAt(image, x, y).join() !== reference.rgb(x, y).join()) count += 1;
  return count;
}
// The ship's left edge: the widest run of columns lit in the rows it flies in (a bomb beside it adds a
// few); -1 while it is not drawn.
function shipX(image) {
  let best = -1, bestLength = 0;
  for (let x = 0, run = 0; x <= image.width; ++x) {
    let lit = false;
    for (let y = 432; y < 449 && x < image.width && !lit; ++y) lit = rgbAt(image, x, y).some((c) => c > 0);
    if (lit) run += 1;
    else {
      if (run > bestLength) [best, bestLength] = [x - run, run];
      run = 0;
    }
  }
  return bestLength >= 60 ? best : -1;
}
// The start button at rest: its yellow lettering within (258, 449) to (343, 462).
function buttonAtRest(image) {
  if (!image) return false;
  let box = null;
  for (let y = 0; y < image.height; ++y)
    for (let x = 0; x < image.width; ++x)
      if (rgbAt(image, x, y).join() === '255,255,0')
        box = box ? [Math.min(box[0], x), Math.min(box[1], y), Math.max(box[2], x), Math.max(box[3], y)] : [x, y, x, y];
  return box?.join() === '258,449,343,462';
}
const caption = (page) => page.evaluate(() => document.querySelector('.window:not([hidden]) header span')?.textContent);
const captionNumber = async (page, pattern) => Number((await caption(page))?.match(pattern)?.[1] ?? NaN);

const server = await serveZip(zip);
const browser = await launch();
try {
  // ---- the intro, and the start by the mouse ----
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => m.type() === 'warning' && !m.text().startsWith('Canvas2D') && console.log(`  page: ${m.text()}`));
  await page.goto(server.url);
  check(await until(() => page.evaluate(() => QuorvexPage.presents.length > 0), 3000), 'the title window shows a frame');
  check((await page.title()) === 'Quorvex - By Delmoro', 'the caption is the page\'s title');
  // The intro's length, from the first frame to the button's last step (watched in the page, every few
  // milliseconds): the recorded journey's is 6.75 s, with frames that cost nothing.
  const introMs = await page.evaluate(() => new Promise((resolve) => {
    const yellowAt = (context, x) => {
      const column = context.getImageData(x, 449, 1, 14).data;
      return column.some((_, i) => i % 4 === 0 && column[i] === 255 && column[i + 1] === 255 && column[i + 2] === 0);
    };
    const look = () => {
      const context = [...document.querySelectorAll('.window:not([hidden]) canvas')].pop()?.getContext('2d');
      if (context && yellowAt(context, 258) && yellowAt(context, 343) && !yellowAt(context, 257))
        resolve(performance.now() - QuorvexPage.presents[0]);
      else if (performance.now() - QuorvexPage.presents[0] > 15000) resolve(null);
      else setTimeout(look, 5);
    };
    look();
  }));
  check(introMs >= 6500 && introMs <= 7500, `the intro takes its time: ${introMs?.toFixed(0)} ms, 6.5 to 7.5 s`);
  const rested = await until(async () => {
    const image = await windowImage(page);
    return image && buttonAtRest(image) ? image : null;
  }, 3000);
  if (check(rested, 'the intro ends with the start button at rest')) {
    const reference = readPng(`${references}/title_at_rest.png`);
    const banner = differing(rested, reference, [0, 0, 600, 232]);
    check(banner === 0, `the banner is pixel for pixel the desktop's (${banner} differ)`);
    check(differing(rested, reference, [200, 440, 200, 35]) === 0, 'the button is pixel for pixel the desktop\'s');
  }
  await pointAt(page, 300, 457);
  await page.mouse.down();
  await page.mouse.up();
  check(await until(async () => (await caption(page))?.startsWith('Quorvex - By Delmoro : Level 1'), 3000),
    'a click on the button opens the game window');

  // The ship, once drawn ("Get Ready" first; a bomb may cost a life on the way, which brings it back).
  const seenShip = async () => {
    const x = shipX(await windowImage(page));
    return x >= 0 ? x : null;
  };
  const question = () => page.evaluate(() => document.getElementById('question').open);
  // Left alone the ship loses its five lives in seconds: a check that needs play first answers Yes to
  // the question if it came meanwhile, and waits for the ship.
  const playing = async () => {
    if (await question()) {
      await page.keyboard.press('y');
      await until(async () => !(await question()), 3000);
    }
    return until(seenShip, 5000);
  };

  // ---- full screen ----
  await playing();
  await page.keyboard.press('F11');
  const full = await until(() => page.evaluate(() => document.fullscreenElement?.id === 'stage'), 3000);
  check(full, 'F11 puts the game in full screen');
  if (full) {
    const size = await page.evaluate(() => {
      const c = document.querySelector('.window:not([hidden]) canvas');
      return [c.clientWidth * devicePixelRatio / c.width, window.innerWidth, window.innerHeight];
    });
    check(Number.isInteger(size[0]) && size[0] >= 1, `the image is shown at a whole-number scale (${size[0]})`);
    await page.keyboard.press('F11');
    check(await until(() => page.evaluate(() => !document.fullscreenElement), 3000), 'F11 again leaves full screen');
  }

  check(await until(async () => / : 4[01] FPS$/.test(await caption(page)), 4000),
    'the caption counts 40 or 41 thousand passes a second');

  // ---- a hidden tab pauses; P plays on ----
  // Headless Chromium never hides a tab: the page is told so as a browser tells it (document.hidden,
  // then a visibilitychange), and shown again the same way.
  const setHidden = (hide) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hide);
  await playing();
  await setHidden(true);
  await setHidden(false);
  const still = await until(async () => {
    const a = await windowImage(page);
    await page.waitForTimeout(300);
    const b = await windowImage(page);
    return a.data.equals(b.data) ? a : null;
  }, 3000);
  check(still, 'play stands still after the tab was hidden');
  await page.keyboard.press('p');
  const moving = await until(async () => {
    const a = await windowImage(page);
    await page.waitForTimeout(200);
    return !a.data.equals((await windowImage(page)).data);
  }, 3000);
  check(moving, 'P plays on');

  // ---- the question: Yes, then No ----
  check(await until(question, 120000), 'the question comes after the last life');
  check((await page.textContent('#question-prompt')) === 'You are dead, would you like to play again?',
    'it asks to play again');
  await page.keyboard.press('F11');
  await page.waitForTimeout(300);
  check(await page.evaluate(() => !document.fullscreenElement && document.getElementById('question').open),
    'F11 does nothing while the question is open');
  await page.keyboard.press('y');
  check(await until(async () => !(await question()), 3000), 'Y answers Yes and closes the question');
  check(await until(async () => (await seenShip()) !== null, 5000), 'a new game starts: the ship is back');

  // ---- play, in the new game's first seconds ----
  let before = null, after = null;
  for (let attempt = 0; attempt < 3 && !(after > before); ++attempt) {
    before = await playing();
    if (before === null || before > 400) continue;
    await page.keyboard.down('ArrowRight');
    await page.waitForTimeout(300);
    await page.keyboard.up('ArrowRight');
    after = await until(seenShip, 2000);
  }
  check(before !== null && after > before, `Right moves the ship (from ${before} to ${after})`);
  // The missile: blue, in the columns above the ship, below the aliens; looked for in the page itself,
  // quickly, for it crosses that space in a quarter of a second (a bomb may have cost a life meanwhile:
  // then the next try fires it).
  const missileAbove = () => page.evaluate(() => {
    const canvas = [...document.querySelectorAll('.window:not([hidden]) canvas')].pop();
    const { data, width } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    const lit = (x, y) => data[4 * (y * width + x)] + data[4 * (y * width + x) + 1] + data[4 * (y * width + x) + 2] > 0;
    const blue = (x, y) => data[4 * (y * width + x)] === 0 && data[4 * (y * width + x) + 1] === 0 &&
      data[4 * (y * width + x) + 2] === 255;
    let left = 0;
    while (left < width && !lit(left, 440)) ++left;
    for (let y = 205; y < 425; ++y)
      for (let x = left; x < Math.min(width, left + 100); ++x) if (blue(x, y)) return true;
    return false;
  });
  let missile = false;
  for (let attempt = 0; attempt < 3 && !missile; ++attempt) {
    await playing();
    await page.keyboard.press('Space');
    missile = await until(missileAbove, 600);
  }
  check(missile, 'Space fires a missile above the ship');
  // A kill: the formation marches over the ship's column; missiles until the caption's score rises.
  const score = () => captionNumber(page, /Score \((\d+)\)/);
  const scoreBefore = await score();
  let scored = scoreBefore;
  for (const end = Date.now() + 20000; !(scored > scoreBefore) && Date.now() < end;) {
    await playing();
    await page.keyboard.press('Space');
    await page.waitForTimeout(300);
    scored = await score();
  }
  check(scored > scoreBefore && (scored - scoreBefore) % 100 === 0,
    `a missile kills an alien: the score rises by hundreds (from ${scoreBefore} to ${scored})`);

  check(await until(question, 120000), 'the question comes again');
  await page.keyboard.press('n');
  check(await until(() => page.isVisible('#ended'), 3000), 'No ends the program, and the page says so');
  check((await page.textContent('#again')) === 'Play again', 'the page offers to play again');
  check(errors.length === 0, `no error on the page (${errors.join('; ')})`);
  await page.close();

  // ---- the start by Return, the address's pass rate, and a run-time error ----
  const again = await browser.newPage();
  await again.goto(`${server.url}?pass-rate=max`);
  await until(async () => buttonAtRest(await windowImage(again)), 15000);
  await again.keyboard.press('Enter');
  check(await until(async () => (await caption(again))?.startsWith('Quorvex - By Delmoro : Level 1'), 3000),
    'Return on the rested title opens the game window');
  const busy = await until(async () => (await captionNumber(again, / : (\d+) FPS$/)) > 41, 4000);
  check(busy, `?pass-rate=max runs the busy loop: more than 41 thousand passes a second (${await caption(again)})`);
  // A canvas that can no longer be drawn on: the program's frames are not shown, and after a second
  // the system says so in its run-time error box; OK ends it.
  await again.evaluate(() => { QuorvexPage.present = () => false; });
  check(await until(() => again.evaluate(() => document.getElementById('error').open), 5000),
    'frames that cannot be shown end in the run-time error box');
  check(/^Run-time error '\d+':/.test(await again.textContent('#error-text')), 'it names the run-time error');
  await again.click('#error-ok');
  check(await until(async () => (await again.textContent('#ended-text')) === 'Quorvex has ended after an error.', 3000),
    'OK ends the program, and the page says it ended after an error');
  await again.close();

  const wrong = await browser.newPage();
  await wrong.goto(`${server.url}?pass-rate=fast`);
  check(await until(() => wrong.isVisible('#ended'), 5000), 'a pass rate that is no number ends the program at once');
  check((await wrong.isVisible('#status')) && /^quorvex: .*--pass-rate/.test(await wrong.textContent('#status')),
    'the page shows the one line that says why');
  await wrong.close();
} finally {
  await browser.close();
  await server.close();
}
process.exit(failed() === 0 ? 0 : 1);
