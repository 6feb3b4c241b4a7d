// The page around Quorvex's browser edition: the program's windows (a canvas each, under a caption
// bar), the events it is handed, the question and the error box, the scale and full screen, and what
// the page says when the program ends. The program (quorvex.js) calls the methods of QuorvexPage.
'use strict';

const QuorvexPage = (() => {
  // The runtime's event kinds and answers (runtime/backend.h, runtime/constants.h).
  const EventType = { KeyDown: 0, KeyUp: 1, MouseDown: 2, MouseUp: 3, Close: 4, Minimised: 7 };
  const DialogAnswer = 6;
  const vbYes = 6;
  const vbNo = 7;

  const stage = document.getElementById('stage');
  const statusLine = document.getElementById('status');
  const windows = new Map(); // id -> { frame, title, canvas, context, width, height, caption }
  const events = []; // what the program has not taken yet
  const heldKeys = new Set(); // key codes down in the program's windows
  let wakeProgram = null; // ends the program's wait when an event comes
  let lastShown = 0; // the window the keys go to
  let pressedIn = 0; // the window a mouse button went down in
  const presents = []; // when the last frames were shown (performance.now), for the tests' figures

  // ---- events ----

  function post(event) {
    events.push(Object.assign({ type: 0, window: 0, key: 0, repeat: 0, x: 0, y: 0, button: 0, answer: 0 }, event));
    if (wakeProgram) {
      const wake = wakeProgram;
      wakeProgram = null;
      // The program goes on after this listener has returned, never inside it.
      queueMicrotask(wake);
    }
  }

  function nextEvent(heap32, at) {
    const event = events.shift();
    if (!event) return false;
    heap32.set([event.type, event.window, event.key, event.repeat, event.x, event.y, event.button, event.answer], at);
    return true;
  }

  // Resolves when an event comes, or once performance.now() has reached `deadline`, a whole millisecond
  // (never, when negative). The page's timers take whole milliseconds and come up to a few tenths of one
  // late: the timer is set for the deadline's millisecond when that leaves it a margin for lateness,
  // else for the millisecond before; what is left then is waited out in turns of the event loop (each
  // time the program goes on costs far more than a turn).
  const timerMargin = 0.4;
  function waitUntil(deadline) {
    if (events.length) return Promise.resolve();
    return new Promise((resolve) => {
      let timer = 0;
      const done = () => {
        if (timer) clearTimeout(timer);
        timer = 0;
        if (wakeProgram === done) wakeProgram = null;
        resolve();
      };
      const onTime = () => {
        timer = 0;
        if (wakeProgram !== done) return; // an event came first
        const left = deadline - performance.now();
        if (left <= 0) done();
        else if (left >= 1) timer = setTimeout(onTime, left % 1 > timerMargin ? Math.ceil(left) : Math.floor(left));
        else turn().then(onTime);
      };
      wakeProgram = done;
      if (deadline >= 0) onTime();
    });
  }

  // One turn of the page's event loop: a message to ourselves, which no timer clamping delays.
  const turns = new MessageChannel();
  const turnsWaiting = [];
  turns.port1.onmessage = () => {
    const resolve = turnsWaiting.shift();
    if (resolve) resolve();
  };
  function turn() {
    return new Promise((resolve) => {
      turnsWaiting.push(resolve);
      turns.port2.postMessage(0);
    });
  }
  const yieldToPage = turn;

  // The system's key codes, from where the key is on the keyboard.
  function keyCode(code) {
    if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
    if (/^F([1-9]|1[0-2])$/.test(code)) return 111 + Number(code.slice(1));
    const named = {
      ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Space: 32, Enter: 13, NumpadEnter: 13,
      Escape: 27, Pause: 19, Tab: 9, Backspace: 8, ShiftLeft: 16, ShiftRight: 16, ControlLeft: 17,
      ControlRight: 17, AltLeft: 18, AltRight: 18,
    };
    return named[code] || 0;
  }

  document.addEventListener('keydown', (e) => {
    if (question.open || errorBox.open) return;
    if (e.code === 'F11' || (e.code === 'Enter' && e.altKey)) {
      e.preventDefault();
      if (!e.repeat) toggleFullScreen();
      return;
    }
    const key = keyCode(e.code);
    if (!key || e.ctrlKey || e.metaKey || !lastShown) return; // the browser's own shortcuts stay its own
    e.preventDefault(); // no scrolling by the arrows or Space
    heldKeys.add(key);
    post({ type: EventType.KeyDown, window: lastShown, key, repeat: e.repeat ? 1 : 0 });
  });
  document.addEventListener('keyup', (e) => {
    const key = keyCode(e.code);
    if (!heldKeys.delete(key)) return;
    e.preventDefault();
    post({ type: EventType.KeyUp, window: lastShown, key });
  });
  // Keys held when the page loses the keyboard are let go, as a window's are when it loses the focus.
  window.addEventListener('blur', () => {
    for (const key of heldKeys) post({ type: EventType.KeyUp, window: lastShown, key });
    heldKeys.clear();
  });
  // A hidden tab pauses play, as a minimised window does.
  document.addEventListener('visibilitychange', () => {
    if (document.hidden && lastShown) post({ type: EventType.Minimised, window: lastShown });
  });

  // A point of the page as a pixel of the window's image (outside it, past its edges).
  function imagePoint(win, e) {
    const box = win.canvas.getBoundingClientRect();
    return {
      x: Math.floor(((e.clientX - box.left) * win.width) / box.width),
      y: Math.floor(((e.clientY - box.top) * win.height) / box.height),
    };
  }
  const mouseButton = (e) => ({ 0: 1, 1: 4, 2: 2 })[e.button] || 0;
  document.addEventListener('mouseup', (e) => {
    const win = windows.get(pressedIn);
    if (!win) return;
    post({ type: EventType.MouseUp, window: pressedIn, button: mouseButton(e), ...imagePoint(win, e) });
    pressedIn = 0;
  });

  // ---- windows ----

  function createWindow(id, width, height, caption) {
    const frame = document.createElement('section');
    frame.className = 'window';
    frame.hidden = true;
    const bar = document.createElement('header');
    const title = document.createElement('span');
    title.textContent = caption;
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'close';
    close.title = 'Close';
    close.textContent = '\u00d7';
    close.addEventListener('click', () => post({ type: EventType.Close, window: id }));
    bar.append(title, close);
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    // A low-latency context: the browser shows what is put on it without a rendering pass of the page.
    const context = canvas.getContext('2d', { desynchronized: true });
    const win = { frame, title, canvas, context, width, height, caption };
    canvas.addEventListener('mousedown', (e) => {
      e.preventDefault();
      if (question.open || pressedIn) return;
      pressedIn = id;
      post({ type: EventType.MouseDown, window: id, button: mouseButton(e), ...imagePoint(win, e) });
    });
    canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    frame.append(bar, canvas);
    stage.append(frame);
    windows.set(id, win);
  }

  function showWindow(id) {
    const win = windows.get(id);
    if (!win) return;
    win.frame.hidden = false;
    lastShown = id;
    document.title = win.caption;
    statusLine.hidden = true;
    fit();
  }

  function destroyWindow(id) {
    const win = windows.get(id);
    if (!win) return;
    win.frame.remove();
    windows.delete(id);
    if (lastShown === id) {
      lastShown = 0;
      for (const [other, each] of windows) if (!each.frame.hidden) lastShown = other;
    }
  }

  function setCaption(id, caption) {
    const win = windows.get(id);
    if (!win) return;
    win.caption = caption;
    win.title.textContent = caption;
    if (id === lastShown) document.title = caption;
  }

  // Rows `firstRow` on of the image, as R, G, B, A bytes at `at` in the program's memory.
  function present(id, heap8, at, width, height, firstRow, rows) {
    const win = windows.get(id);
    if (!win || width !== win.width || height !== win.height) return false;
    const bytes = new Uint8ClampedArray(heap8.buffer, at + firstRow * width * 4, rows * width * 4);
    win.context.putImageData(new ImageData(bytes, width, rows), 0, firstRow);
    presents.push(performance.now());
    if (presents.length > 2000) presents.splice(0, 1000);
    return true;
  }

  // Each pixel an N x N square of the screen's own pixels, N the largest whole number that fits.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const full = document.fullscreenElement === stage;
    const roomW = (full ? stage.clientWidth : document.documentElement.clientWidth - 16) * ratio;
    const roomH = (full ? stage.clientHeight : window.innerHeight - 96) * ratio;
    for (const win of windows.values()) {
      const scale = Math.max(1, Math.floor(Math.min(roomW / win.width, roomH / win.height)));
      win.canvas.style.width = `${(win.width * scale) / ratio}px`;
      win.canvas.style.height = `${(win.height * scale) / ratio}px`;
    }
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);

  function toggleFullScreen() {
    const refused = (error) => console.warn(`full screen: ${error.message}`);
    if (document.fullscreenElement) document.exitFullscreen().catch(refused);
    else stage.requestFullscreen().catch(refused);
  }
  document.getElementById('fullscreen').addEventListener('click', toggleFullScreen);

  // ---- the question ----

  const question = document.getElementById('question');
  const questionTitle = document.getElementById('question-title');
  const questionPrompt = document.getElementById('question-prompt');
  const yes = document.getElementById('yes');
  const no = document.getElementById('no');
  let questionId = 0;
  let spacePressedHere = false; // Space acts on its release, and only when it went down here

  function openQuestion(id, title, prompt) {
    questionId = id;
    spacePressedHere = false;
    questionTitle.textContent = title;
    questionPrompt.textContent = prompt.replace(/\r\n?/g, '\n');
    question.showModal();
    yes.focus(); // Yes is the default
  }
  function closeQuestion(id) {
    if (id !== questionId) return;
    questionId = 0;
    if (question.open) question.close();
  }
  function answer(value) {
    if (!questionId) return;
    post({ type: DialogAnswer, window: questionId, answer: value });
  }
  yes.addEventListener('click', () => answer(vbYes));
  no.addEventListener('click', () => answer(vbNo));
  question.addEventListener('cancel', (e) => e.preventDefault()); // no Cancel: Escape does nothing
  // The keys of the desktop's box. A key held since before the question opened, and its repeats, do
  // nothing: only a key pressed for it answers it.
  question.addEventListener('keydown', (e) => {
    e.preventDefault();
    if (e.repeat) return;
    if (e.code === 'KeyY') answer(vbYes);
    else if (e.code === 'KeyN') answer(vbNo);
    else if (e.code === 'Enter' || e.code === 'NumpadEnter') answer(document.activeElement === no ? vbNo : vbYes);
    else if (e.code === 'Space') spacePressedHere = true;
    else if (['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', 'Tab'].includes(e.code))
      (document.activeElement === yes ? no : yes).focus();
  });
  question.addEventListener('keyup', (e) => {
    e.preventDefault();
    if (e.code === 'Space' && spacePressedHere) answer(document.activeElement === no ? vbNo : vbYes);
  });

  // ---- the error box, and the end ----

  const errorBox = document.getElementById('error');
  function showError(title, text) {
    document.getElementById('error-title').textContent = title;
    document.getElementById('error-text').textContent = text;
    errorBox.showModal();
    document.getElementById('error-ok').focus();
    return new Promise((resolve) => errorBox.addEventListener('close', resolve, { once: true }));
  }
  document.getElementById('error-ok').addEventListener('click', () => errorBox.close());

  function ended(status) {
    for (const id of [...windows.keys()]) destroyWindow(id);
    document.title = 'Quorvex';
    // What the program said of its end (a bad argument, say) stays; "Loading" goes.
    if (!programSaid) statusLine.hidden = true;
    document.getElementById('ended-text').textContent =
      status === 0 ? 'Quorvex has ended.' : 'Quorvex has ended after an error.';
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
  }
  document.getElementById('again').addEventListener('click', () => location.reload());

  let programSaid = false;
  function say(line) {
    programSaid = true;
    statusLine.textContent = line;
    statusLine.hidden = false;
  }

  // ---- text ----

  const fonts = []; // { css, ascent, lineHeight }
  const measuring = document.createElement('canvas').getContext('2d');
  const drawing = document.createElement('canvas').getContext('2d', { willReadFrequently: true });

  function font(face, pixels, bold) {
    const css = `${bold ? 'bold ' : ''}${pixels}px "${face}"`;
    measuring.font = css;
    const m = measuring.measureText('Hg');
    const ascent = Math.ceil(m.fontBoundingBoxAscent);
    fonts.push({ css, ascent, lineHeight: ascent + Math.floor(m.fontBoundingBoxDescent) });
    return fonts.length - 1;
  }
  const lineHeight = (handle) => (fonts[handle] ? fonts[handle].lineHeight : 0);
  // Each character advances by a whole number of pixels, as the desktop's hinted faces do: the lines
  // then measure, wrap and sit as they do there.
  function advances(handle, text) {
    measuring.font = fonts[handle].css;
    return Array.from(text, (ch) => Math.round(measuring.measureText(ch).width));
  }
  const textWidth = (handle, text) => advances(handle, text).reduce((sum, each) => sum + each, 0);
  // The line's coverage, a byte a pixel, into a `width` x `height` room at `at`; its text starts
  // `height` pixels in. Returns its measured width.
  function renderLine(handle, text, heap8, at, width, height) {
    const f = fonts[handle];
    const canvas = drawing.canvas;
    if (canvas.width < width || canvas.height < height) {
      canvas.width = Math.max(canvas.width, width);
      canvas.height = Math.max(canvas.height, height);
    }
    drawing.clearRect(0, 0, width, height);
    drawing.font = f.css;
    drawing.fillStyle = '#fff';
    drawing.textBaseline = 'alphabetic';
    const steps = advances(handle, text);
    let x = height;
    Array.from(text).forEach((ch, i) => {
      drawing.fillText(ch, x, f.ascent);
      x += steps[i];
    });
    const pixels = drawing.getImageData(0, 0, width, height).data;
    for (let i = 0; i < width * height; ++i) heap8[at + i] = pixels[4 * i + 3];
    return x - height;
  }

  // ---- the start ----

  function secondsSinceMidnight() {
    const now = new Date();
    return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds() + now.getMilliseconds() / 1000;
  }

  // The page's address says the pace: ?pass-rate=max is the design's busy loop; by default 41,000
  // passes a second, so that a tab never holds a whole core.
  function programArguments() {
    const rate = new URLSearchParams(location.search).get('pass-rate') || '41000';
    return ['--pass-rate', rate];
  }

  async function start() {
    // The faces the labels are drawn with, loaded before the program measures its first line.
    const faces = ['10px "Liberation Sans"', 'bold 10px "Liberation Sans"', '10px "Liberation Mono"'];
    await Promise.all(faces.map((face) => document.fonts.load(face)));
    window.Module = {
      print: (line) => console.log(line),
      printErr: (line) => console.error(line),
    };
    const script = document.createElement('script');
    script.src = 'quorvex.js';
    script.onerror = () => say('The program could not be loaded.');
    document.body.append(script);
  }

  start();

  return {
    nextEvent, hasEvent: () => events.length > 0, waitUntil, yieldToPage, createWindow, showWindow, destroyWindow,
    setCaption, present, openQuestion, closeQuestion, showError, ended, say, font, lineHeight, textWidth,
    renderLine, secondsSinceMidnight, arguments: programArguments, presents, toggleFullScreen,
  };
})();
