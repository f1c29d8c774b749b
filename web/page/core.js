// The worksheet core, compiled to WebAssembly from the desktop's sources:
// seeding its random source and generating one worksheet. Texts cross as
// Windows-1252 bytes; the documents come back as bytes, as the core wrote
// them.
import FicheCore from './fiche-core.mjs';
import { ToBytes } from './cp1252.js';
import { DecodeDocument } from './document-model.js';

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

function WithCString(module, text, use) {
  const bytes = ToBytes(text);
  const pointer = module._malloc(bytes.length + 1);
  module.HEAPU8.set(bytes, pointer);
  module.HEAPU8[pointer + bytes.length] = 0;
  try {
    return use(pointer);
  } finally {
    module._free(pointer);
  }
}

export function Seed(module, seed) {
  module._FicheSeed(seed >>> 0);
}

// kind: 0 lengths .. 4 masses; settings as the page reads them from its
// controls (see settings.js). Returns { name, subject, answerKey }, bytes.
export function Generate(module, kind, settings) {
  WithCString(module, settings.TitleLine, (title) =>
    WithCString(module, settings.InstructionText, (instruction) =>
      WithCString(module, settings.SeparatorLine, (separator) =>
        module._FicheGenerate(kind, settings.Level, settings.QuestionCount, settings.LineSpacing,
          title, instruction, settings.SeparatorShown ? 1 : 0, separator,
          settings.DecimalComma ? 1 : 0))));
  return {
    name: BytesAt(module, module._FicheDefaultFileName()),
    subject: BytesAt(module, module._FicheSubject()),
    answerKey: BytesAt(module, module._FicheAnswerKey()),
  };
}

// An RTF document (bytes) as the core's reader reads it (see document-model.js).
export function ReadDocument(module, rtf) {
  const pointer = module._malloc(rtf.length + 1);
  try {
    module.HEAPU8.set(rtf, pointer);
    const units = module._FicheReadRtf(pointer, rtf.length);
    const length = module._FicheDocumentLength();
    return DecodeDocument(module.HEAPU16.subarray(units >> 1, (units >> 1) + length));
  } finally {
    module._free(pointer);
  }
}
