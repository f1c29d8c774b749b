// Windows-1252, the core's encoding and the saved files': every byte has a
// character, 0x80 to 0x9F included, and the texts of the page go back to
// bytes with "?" for the characters the code page lacks.

const HIGH_RANGE = [
  0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
  0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
  0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
  0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
];
const BYTE_OF = new Map(HIGH_RANGE.map((code, i) => [code, 0x80 + i]));

export function CharOfByte(byte) {
  return String.fromCharCode(byte >= 0x80 && byte <= 0x9f ? HIGH_RANGE[byte - 0x80] : byte);
}

// The byte of one UTF-16 code unit, or undefined where the code page has none.
export function ByteOfCode(code) {
  if (code < 0x80 || (code >= 0xa0 && code <= 0xff)) return code;
  return BYTE_OF.get(code);
}

export function ToBytes(text) {
  const bytes = [];
  for (const character of text) {  // by code point: one "?" per character
    const byte = character.length === 1 ? ByteOfCode(character.charCodeAt(0)) : undefined;
    bytes.push(byte === undefined ? 0x3f : byte);
  }
  return Uint8Array.from(bytes);
}

export function FromBytes(bytes) {
  let text = '';
  for (const byte of bytes) text += CharOfByte(byte);
  return text;
}
