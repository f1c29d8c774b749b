// A new version of the page reaches an open page as a notice, the open page
// keeps its own version until "recharger" is pressed, and the new version
// then works offline.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { SITE, StartBrowser } from './browser.mjs';

test('a new version is announced, taken on "recharger" and kept offline', async (t) => {
  const copy = mkdtempSync(join(tmpdir(), 'fiche-site-'));
  cpSync(SITE, copy, { recursive: true });
  const browser = await StartBrowser(copy);
  t.after(() => browser.Stop().then(() => rmSync(copy, { recursive: true })));
  const page = await browser.NewPage();
  await page.evaluate(() => new Promise((done) => navigator.serviceWorker.controller ? done()
    : navigator.serviceWorker.addEventListener('controllerchange', done)));
  const Marker = () => page.evaluate(() => getComputedStyle(document.body).getPropertyValue('--marker'));
  const ServedCss = () => page.evaluate(() => fetch('style.css').then((r) => r.text()));
  appendFileSync(join(copy, 'style.css'), 'body { --marker: v2; }\n');
  execFileSync('bash', [new URL('../../web/stamp-sw.sh', import.meta.url).pathname, copy]);
  await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
  const notice = page.locator('#window > #updateNotice:first-child[role="status"]');
  await notice.waitFor();
  assert.equal(await notice.innerText(), 'Une nouvelle version est prête : recharger');
  assert.doesNotMatch(await ServedCss(), /--marker/, 'the open page was served the new version');
  await Promise.all([page.waitForEvent('load'), notice.getByRole('button', { name: 'recharger' }).click()]);
  await page.waitForSelector('html[data-ready="true"]');
  assert.equal(await Marker(), 'v2');
  assert.match(await ServedCss(), /--marker: v2/);
  assert.equal(await notice.isVisible(), false);
  await page.context().setOffline(true);
  await page.goto(`${browser.origin}/?offline`);
  await page.waitForSelector('html[data-ready="true"]');
  assert.equal(await Marker(), 'v2');
  await page.click('#btnLong');
  assert.match(await page.$eval('#RxE1', (p) => p.innerText), /^Long_N1_/);
  assert.deepEqual(browser.outside, []);
});
