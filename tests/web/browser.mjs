// What every web test needs: the built page served on a free port of
// 127.0.0.1, Debian's Chromium started headless, and a record of every
// request that leaves the page's origin (which fails the test that made it).
import { chromium } from 'playwright-core';
import { Serve } from '../../web/serve.mjs';

export const SITE = new URL('../../build/web/site/', import.meta.url).pathname;

// folder: another copy of the page to serve instead of the build's.
export async function StartBrowser(folder = SITE) {
  const server = await Serve(folder, 0);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({
    executablePath: process.env.FICHE_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--font-render-hinting=none'],
  });
  const outside = [];
  // A fresh profile per context: storage, service worker and cache start empty.
  const NewPage = async (options = {}) => {
    const context = await browser.newContext({ acceptDownloads: true, ...options });
    await context.route('**/*', (route) => {
      if (new URL(route.request().url()).origin === origin) return route.continue();
      outside.push(route.request().url());
      return route.abort();
    });
    const page = await context.newPage();
    page.on('pageerror', (error) => outside.push(`error in page: ${error.message}`));
    await page.goto(`${origin}/`);
    await page.waitForSelector('html[data-ready="true"]');
    return page;
  };
  const Stop = async () => {
    await browser.close();
    server.close();
  };
  return { origin, browser, NewPage, Stop, outside };
}
