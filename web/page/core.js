// The worksheet core, compiled to WebAssembly from the desktop's sources:
// seeding its random source and generating one worksheet. Texts cross as
// Windows-1252 bytes; the documents come back as bytes, as the core wrote
// them.
import FicheCore from './fiche-core.mjs';
import { ToBytes } from './cp1252.js';
import { DecodeDocument, EncodeDocument } from './document-model.js';
import { WORKSHEET_KEYS } from './settings-table.js';

export const KINDS = ['Long', 'Surf', 'Vol', 'Capa', 'Masse'];

let modulePromise = null;

export function LoadCore() {
  modulePromise ??= FicheCore();
  return modulePromise;
}

function BytesAt(module, pointer) {
  const heap = module.HEAPU8;
  let end = pointer;
  while (heap[end] !== 0) end++;
  return heap.slice(pointer, end);
}

// A worksheet's settings as the core reads them: "key=value" lines under the
// settings table's keys. The texts come from one-line boxes, which hold no
// line break.
function SettingLines(settings) {
  return Object.entries(WORKSHEET_KEYS).map(([field, key]) => {
    const value = settings[field];
    return `${key}=${typeof value === 'boolean' ? (value ? 'True' : 'False') : value}`;
  }).join('\n');
}

export function Seed(module, seed) {
  module._FicheSeed(seed >>> 0);
}

// kind: 0 lengths .. 5 durations; settings as the page reads them from its
// controls, under the field names of WORKSHEET_KEYS. Returns { name,
// subject, answerKey }, bytes, and the sheet's code, a five-character text.
export function Generate(module, kind, settings) {
  return WithSettings(module, settings, (pointer, length) => {
    module._FicheGenerate(kind, pointer, length);
    return true;
  });
}

// The sheet of a typed code, named in both headings when `codeShown`.
// Returns the sheet as Generate does, or null when the text is no code.
export function GenerateOfCode(module, kind, settings, code, codeShown) {
  const typed = ToBytes(String(code).slice(0, 64));
  const codePointer = module._malloc(typed.length + 1);
  try {
    module.HEAPU8.set(typed, codePointer);
    module.HEAPU8[codePointer + typed.length] = 0;
    return WithSettings(module, settings, (pointer, length) =>
      module._FicheGenerateOfCode(kind, pointer, length, codePointer, codeShown ? 1 : 0) === 1);
  } finally {
    module._free(codePointer);
  }
}

// Runs `generate` with the settings' lines in the module's memory; the last
// sheet's texts when it says it made one.
function WithSettings(module, settings, generate) {
  const bytes = ToBytes(SettingLines(settings));
  const pointer = module._malloc(bytes.length + 1);
  let made = false;
  try {
    module.HEAPU8.set(bytes, pointer);
    made = generate(pointer, bytes.length);
  } finally {
    module._free(pointer);
  }
  if (!made) return null;
  return {
    name: BytesAt(module, module._FicheDefaultFileName()),
    subject: BytesAt(module, module._FicheSubject()),
    answerKey: BytesAt(module, module._FicheAnswerKey()),
    code: String.fromCharCode(...BytesAt(module, module._FicheCode())),
  };
}

// The last worksheet's exercises as a Moodle GIFT file (UTF-8 bytes); empty
// before any worksheet.
export function GiftFile(module) {
  return BytesAt(module, module._FicheGift());
}

// An RTF document (bytes) as the core's reader reads it, in its 16-bit form.
export function ReadDocumentUnits(module, rtf) {
  const pointer = module._malloc(rtf.length + 1);
  try {
    module.HEAPU8.set(rtf, pointer);
    const units = module._FicheReadRtf(pointer, rtf.length) >> 1;
    return module.HEAPU16.slice(units, units + module._FicheDocumentLength());
  } finally {
    module._free(pointer);
  }
}

// An RTF document (bytes) as the core's reader reads it (see document-model.js).
export function ReadDocument(module, rtf) {
  return DecodeDocument(ReadDocumentUnits(module, rtf));
}

// A document (see document-model.js) as RTF bytes, written by the core's writer.
export function WriteDocument(module, document) {
  const units = EncodeDocument(document);
  const pointer = module._malloc(units.length * 2 + 2);
  try {
    module.HEAPU16.set(units, pointer >> 1);
    const rtf = module._FicheWriteRtf(pointer, units.length);
    return module.HEAPU8.slice(rtf, rtf + module._FicheRtfLength());
  } finally {
    module._free(pointer);
  }
}

// Texts the pupil's functions hand back: UTF-8 JSON.
function JsonAt(module, pointer) {
  return JSON.parse(new TextDecoder().decode(BytesAt(module, pointer)));
}

// Runs `call` with `text` (UTF-8) in the module's memory.
function WithUtf8(module, text, call) {
  const bytes = new TextEncoder().encode(text);
  const pointer = module._malloc(bytes.length + 1);
  try {
    module.HEAPU8.set(bytes, pointer);
    return call(pointer, bytes.length);
  } finally {
    module._free(pointer);
  }
}

// The last worksheet's pupil link, its query ("?eleve=1&type=0&..."); empty
// before any worksheet.
export function PupilLink(module) {
  return String.fromCharCode(...BytesAt(module, module._FichePupilLink()));
}

// The worksheet of a pupil's link, from the page's query as the address
// holds it: { link (the query as the core reads it), heading, changes (what
// the link asked that no sheet has, and what is shown instead), exercises:
// [{ question, units, answers }] }, a unit and an answer per blank.
export function PupilOpen(module, query) {
  return WithUtf8(module, query, (pointer, length) =>
    JsonAt(module, module._FichePupilOpen(pointer, length)));
}

// What each mark of PupilMark means.
export const MARKS = ['right', 'wrong', 'notANumber', 'empty'];

// The pupil's answers (texts, in the blanks' order) to the sheet of the last
// PupilOpen, marked by the core: { score: "17 / 20", marks: [[mark, ...], ...] },
// a mark (MARKS' names) per blank, exercise by exercise.
export function PupilMark(module, typed) {
  const marked = WithUtf8(module, typed.map((text) => text.replace(/[\r\n]/g, ' ')).join('\n'),
    (pointer, length) => JsonAt(module, module._FichePupilMark(pointer, length)));
  return { score: marked.score, marks: marked.marks.map((blanks) => blanks.map((m) => MARKS[m])) };
}
