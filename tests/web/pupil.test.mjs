// A pupil's link, end to end: the teacher's code box and "Lien élève", its QR
// code read by zbarimg, the pupil's sheet on a phone checked by the core,
// kept over a reload and offline, and a hostile link that runs nothing.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { StartBrowser } from './browser.mjs';

const WaitForWorker = (page) => page.evaluate(() => new Promise((done) =>
  navigator.serviceWorker.controller ? done()
    : navigator.serviceWorker.addEventListener('controllerchange', done)));

test('a pupil opens the QR code\'s link, is marked by the core, keeps the answers offline; a hostile link runs nothing', async (t) => {
  const folder = mkdtempSync(join(tmpdir(), 'fiche-pupil-'));
  const browser = await StartBrowser();
  t.after(() => browser.Stop());
  const teacher = await browser.NewPage({ viewport: { width: 1280, height: 800 } });
  await teacher.check('#ckbDeuxUnites');
  await teacher.click('#btnSurf');
  assert.match(await teacher.inputValue('#eCode'), /^[0-9A-HJKMNP-TV-Z]{5}$/);
  const subject = await teacher.$eval('#RxE1', (pane) => pane.innerText);
  await teacher.fill('#eCode', 'I0U1Z');
  await teacher.press('#eCode', 'Enter');
  assert.equal(await teacher.textContent('#codeMessage'), 'Code inconnu : 5 lettres ou chiffres');
  assert.equal(await teacher.$eval('#RxE1', (pane) => pane.innerText), subject);
  await teacher.fill('#eCode', 'ab-cd o');
  await teacher.press('#eCode', 'Enter');
  await teacher.reload();
  await teacher.waitForSelector('html[data-ready="true"]');
  assert.equal(await teacher.inputValue('#eCode'), 'ABCD0');
  assert.match(await teacher.$eval('#RxE2', (pane) => pane.innerText), /^Surf_N1_\d+_\d+ - code ABCD0 - Corrigé/);

  await teacher.click('#btnLienEleve');
  await teacher.locator('#lienEleveQr').screenshot({ path: join(folder, 'qr.png') });
  const link = execFileSync('zbarimg', ['--raw', '-q', join(folder, 'qr.png')], { encoding: 'utf8' }).trim();
  assert.equal(link, `${browser.origin}/?eleve=1&type=1&niveau=1&lignes=25&virgule=1&deuxunites=1&code=ABCD0`);
  assert.equal(await teacher.textContent('#lienEleveAdresse'), link);
  await teacher.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await teacher.click('#btnCopierLien');
  assert.equal(await teacher.evaluate(() => navigator.clipboard.readText()), link);

  const pupil = await browser.NewPage({ viewport: { width: 390, height: 844 } });
  await WaitForWorker(pupil);
  await pupil.goto(link);
  await pupil.waitForSelector('html[data-ready="true"]');
  assert.match(await pupil.textContent('#pupilHeading'), /^Surf_N1_\d+_\d+ - code ABCD0$/);
  const exercises = await pupil.evaluate(async () => {
    const { LoadCore, PupilOpen } = await import('/core.js');
    return PupilOpen(await LoadCore(), location.search).exercises;
  });
  assert.equal(exercises.length, 50);
  assert.ok(exercises.some((exercise) => exercise.answers.length === 2), 'a measure in two units');
  // The answers as the key writes them ("1 250,5"), with a point and no groups,
  // and with a trailing zero and blanks around.
  const answers = exercises.flatMap((exercise) => exercise.answers).map((answer, i) =>
    [answer, answer.replace(/ /g, '').replace(',', '.'),
      ` ${answer}${answer.includes(',') ? '0' : ',00'} `][i % 3]);
  const inputs = pupil.locator('#pupilExercises input');
  assert.equal(await inputs.count(), answers.length);
  for (const [i, answer] of answers.entries()) await inputs.nth(i).fill(answer);
  await pupil.click('#btnVerifier');
  assert.equal(await pupil.textContent('#pupilScore'), 'Score : 50 / 50');
  const layout = await pupil.evaluate(() => ({
    sideways: document.documentElement.scrollWidth > innerWidth,
    smallest: Math.min(...[...document.querySelectorAll('#pupil input, #pupil button')]
      .map((control) => control.getBoundingClientRect().height)),
  }));
  assert.equal(layout.sideways, false);
  assert.ok(layout.smallest >= 44, `a control ${layout.smallest} px high`);

  const firstOfSecond = exercises[0].answers.length;
  await inputs.nth(0).fill(`${answers[0].replace(/ /g, '')}1`);
  await inputs.nth(firstOfSecond).fill('douze');
  await pupil.click('#btnVerifier');
  const notes = pupil.locator('#pupilExercises .note');
  assert.equal(await notes.nth(0).textContent(), 'Faux');
  assert.equal(await notes.nth(firstOfSecond).textContent(), 'Ce n\'est pas un nombre');
  assert.equal(await pupil.textContent('#pupilScore'), 'Score : 48 / 50');
  await pupil.screenshot({ path: join(folder, 'pupil-390x844.png') });
  await pupil.click('#btnCorrection');
  assert.equal(await pupil.locator('.correction').first().textContent(),
    `Correction : ${exercises[0].answers.map((a, i) => `${a} ${exercises[0].units[i]}`).join(' ')}`);

  await pupil.context().setOffline(true);
  await pupil.reload();
  await pupil.waitForSelector('html[data-ready="true"]');
  assert.equal(await inputs.nth(firstOfSecond).inputValue(), 'douze');
  assert.equal(await inputs.last().inputValue(), answers.at(-1));
  await pupil.goto(link.replace('ABCD0', 'ABCD1'));
  await pupil.waitForSelector('html[data-ready="true"]');
  assert.equal(await inputs.first().inputValue(), '');

  const dialogs = [];
  pupil.on('dialog', (dialog) => dialogs.push(dialog.message()) && dialog.dismiss());
  await pupil.goto(`${browser.origin}/?eleve=1&type=<script>window.ran=1</script>&niveau=7&lignes=` +
    `${'9'.repeat(100000)}&code=<img src=x onerror="window.ran=1;alert(1)">`);
  await pupil.waitForSelector('html[data-ready="true"]');
  assert.match(await pupil.textContent('#pupilHeading'), /^Long_N3_\d+_\d+ - code 00000$/);
  assert.match(await pupil.textContent('#pupilChanges'), /Le niveau 7 n'existe pas : niveau 3\./);
  assert.equal(await inputs.count(), 80);
  assert.deepEqual(await pupil.evaluate(() => [window.ran, document.querySelectorAll('#pupil img, #pupil script').length]), [undefined, 0]);
  assert.deepEqual(dialogs, []);
  assert.deepEqual(browser.outside, []);
});
