// The pupil's view of a worksheet, opened from the teacher's "Lien élève":
// the subject's heading and exercises with a box per blank, "Vérifier" and
// the correction. The core makes the sheet from the link and marks the
// answers; this page draws what it says and keeps what the pupil typed in
// the browser, for this link only.
import { LoadCore, PupilMark, PupilOpen } from './core.js';
import { WatchForUpdates } from './update.js';

const ANSWERS_KEY = 'Eleve';
const CORE_FAILED = 'Impossible de charger le module de calcul des fiches : rechargez la page.';
const STORAGE_FAILED = 'Impossible d\'enregistrer dans le navigateur : les réponses ne seront ' +
  'pas gardées si la page est rechargée.';
const NOTES = { right: 'Juste', wrong: 'Faux', notANumber: 'Ce n\'est pas un nombre',
  empty: 'Pas de réponse' };
const SHOW_CORRECTION = 'Voir la correction';
const HIDE_CORRECTION = 'Cacher la correction';
// Longer than any number of a sheet, short enough that nothing typed weighs.
const ANSWER_LIMIT = 40;

const $ = (id) => document.getElementById(id);

function Element(tag, className, text = '') {
  const element = document.createElement(tag);
  if (className) element.className = className;
  element.textContent = text;
  return element;
}

// What the pupil typed on this link before, if anything.
function StoredAnswers(link) {
  try {
    const kept = JSON.parse(localStorage.getItem(ANSWERS_KEY) ?? 'null');
    return kept?.link === link && Array.isArray(kept.answers) ? kept.answers : [];
  } catch {
    return [];
  }
}

// One record only: answers typed on another link (a new code) are dropped.
function StoreAnswers(link, blanks) {
  try {
    localStorage.setItem(ANSWERS_KEY,
      JSON.stringify({ link, answers: blanks.map(({ input }) => input.value) }));
  } catch {
    $('pupilChanges').textContent = STORAGE_FAILED;
  }
}

// An exercise: its question, a box and its unit per blank, each with the
// place of its mark, and the answer key's answers, hidden until asked.
function ExerciseItem(exercise, index, blanks) {
  const item = Element('li', 'exercise');
  item.append(Element('span', 'question', exercise.question));
  exercise.units.forEach((unit, part) => {
    const blank = Element('span', 'blank');
    const input = Object.assign(document.createElement('input'), {
      type: 'text', inputMode: 'decimal', autocomplete: 'off', spellcheck: false,
      maxLength: ANSWER_LIMIT,
    });
    input.setAttribute('aria-label', `Exercice ${index + 1}, réponse en ${unit}`);
    const note = Element('span', 'note');
    note.setAttribute('aria-live', 'polite');
    blank.append(input, Element('span', 'unit', unit), note);
    item.append(blank);
    blanks.push({ blank, input, note, exercise: index, part });
  });
  const correction = Element('span', 'correction',
    `Correction : ${exercise.answers.map((answer, part) => `${answer} ${exercise.units[part]}`).join(' ')}`);
  correction.hidden = true;
  item.append(correction);
  return item;
}

function ShowMarks(marked, blanks) {
  for (const { blank, input, note, exercise, part } of blanks) {
    const mark = marked.marks[exercise][part];
    blank.dataset.mark = mark;
    input.setAttribute('aria-invalid', String(mark !== 'right'));
    note.textContent = NOTES[mark];
  }
  $('pupilScore').textContent = `Score : ${marked.score}`;
}

function ClearMark({ blank, input, note }) {
  delete blank.dataset.mark;
  input.removeAttribute('aria-invalid');
  note.textContent = '';
}

export async function StartPupil() {
  $('window').hidden = true;
  $('pupil').hidden = false;
  WatchForUpdates();
  let core;
  try {
    core = await LoadCore();
  } catch {
    $('pupilChanges').textContent = CORE_FAILED;
    return;
  }
  const sheet = PupilOpen(core, location.search);
  document.title = sheet.heading;
  $('pupilHeading').textContent = sheet.heading;
  $('pupilChanges').textContent = sheet.changes.join('\n');
  const blanks = [];
  $('pupilExercises').replaceChildren(
    ...sheet.exercises.map((exercise, index) => ExerciseItem(exercise, index, blanks)));
  StoredAnswers(sheet.link).slice(0, blanks.length).forEach((answer, i) => {
    blanks[i].input.value = String(answer).slice(0, ANSWER_LIMIT);
  });
  // Enter goes on to the next box, as a tablet's keyboard offers; from the last one it checks.
  blanks.forEach((entry, i) => {
    entry.input.enterKeyHint = i + 1 < blanks.length ? 'next' : 'done';
    entry.input.addEventListener('input', () => {
      ClearMark(entry);
      StoreAnswers(sheet.link, blanks);
    });
    entry.input.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      if (i + 1 < blanks.length) blanks[i + 1].input.focus();
      else $('btnVerifier').click();
    });
  });
  $('btnVerifier').addEventListener('click', () =>
    ShowMarks(PupilMark(core, blanks.map(({ input }) => input.value)), blanks));
  $('btnCorrection').addEventListener('click', () => {
    const shown = $('btnCorrection').getAttribute('aria-pressed') !== 'true';
    $('btnCorrection').setAttribute('aria-pressed', String(shown));
    $('btnCorrection').textContent = shown ? HIDE_CORRECTION : SHOW_CORRECTION;
    for (const correction of document.querySelectorAll('#pupilExercises .correction')) {
      correction.hidden = !shown;
    }
  });
  document.documentElement.dataset.ready = 'true';
}
