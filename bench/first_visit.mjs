// First visits over simulated slow links, each in a fresh browser context: when the title and the
// music came. Run directly, it times the two links the page is held to (budgets in the README):
// 10 Mbit/s with the CPU slowed 2x, and slow 4G (1.6 Mbit/s, 150 ms, the page slowed 4x).
// Usage: node bench/first_visit.mjs PAGE_FOLDER   (after ./web.sh --build-only)
import { pathToFileURL } from 'node:url';

import { serve } from '../web/serve.mjs';
import {
  launchChromium, PATIENCE_MS, visit, waitFor, waitForText,
} from '../tests/web/web-browser.mjs';

// Whether the page's service worker has taken the page (so it has cached the build).
export const serviceWorkerControls = (page) => waitFor(page, () => navigator.serviceWorker.controller !== null);

// Milliseconds from navigation until the music is heard, for a visitor who presses a key
// (Shift, which moves nothing) as soon as the title shows; null if it never comes.
export async function musicHeardAt(page) {
  await page.keyboard.press('Shift');
  return page.waitForFunction(() => (window.domrak.outputPeak() > 0 ? performance.now() : 0),
    { timeout: PATIENCE_MS, polling: 20 }).then((heard) => heard.jsonValue(), () => null);
}

// A first visit in a fresh browser context over a simulated link (`mbits` down, `latency` ms)
// on a CPU slowed `slowdown` times (the page's own thread: Chromium refuses to slow a worker):
// when the title and the music came.
export async function timeFirstVisit(browser, url, { mbits, slowdown, latency = 40 }) {
  const context = await browser.createBrowserContext();
  try {
    const page = await visit(context, url, async (opened) => {
      await opened.setViewport({ width: 1000, height: 680 });
      await opened.emulateNetworkConditions({ download: (mbits * 1e6) / 8, upload: (mbits * 1e6) / 8, latency });
      await opened.emulateCPUThrottling(slowdown);
    });
    const titleShown = await waitForText(page, 'ネームエントリー');
    const titleMs = titleShown ? await page.evaluate(() => window.domrak.firstContentTime()) : null;
    const musicMs = titleShown ? await musicHeardAt(page) : null;
    // The context is closed only once the service worker has settled: closing it while the
    // worker starts up can cut Chromium's link to the browser.
    await serviceWorkerControls(page);
    return { titleMs, musicMs };
  } finally {
    await context.close();
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const server = await serve(process.argv[2], 0);
  const browser = await launchChromium();
  try {
    const url = `http://127.0.0.1:${server.address().port}/`;
    const fast = await timeFirstVisit(browser, url, { mbits: 10, slowdown: 2 });
    console.log(`10 Mbit/s, CPU slowed 2x: title ${fast.titleMs} ms (budget 1200), music ${fast.musicMs} ms (budget 3000)`);
    const slow = await timeFirstVisit(browser, url, { mbits: 1.6, latency: 150, slowdown: 4 });
    console.log(`slow 4G, page slowed 4x: music ${slow.musicMs} ms (budget 5000)`);
  } finally {
    await browser.close();
    server.close();
  }
}
