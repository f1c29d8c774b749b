// Reads the RTF that the core writes (and what word processors commonly
// write) into paragraphs of formatted runs, and draws them as HTML: the
// control words the desktop's rich-text pane follows, the others ignored.
import { CharOfByte } from './cp1252.js';

const DEFAULT_HALF_POINTS = 24;  // RTF's default size, 12 points
const LARGEST_HALF_POINTS = 3276;

function PlainState() {
  return { font: -1, halfPoints: DEFAULT_HALF_POINTS, bold: false, italic: false,
    underline: false, strike: false, align: '', foreground: 0, highlight: 0 };
}

// Cuts the bytes into groups, control words, control symbols and text.
function* Tokens(bytes) {
  let i = 0;
  const n = bytes.length;
  const isLetter = (b) => (b >= 0x61 && b <= 0x7a) || (b >= 0x41 && b <= 0x5a);
  const isDigit = (b) => b >= 0x30 && b <= 0x39;
  while (i < n) {
    const b = bytes[i];
    if (b === 0x7b || b === 0x7d) {
      yield { type: b === 0x7b ? 'open' : 'close' };
      i++;
    } else if (b === 0x5c) {
      i++;
      if (i < n && isLetter(bytes[i])) {
        let name = '';
        while (i < n && isLetter(bytes[i])) name += String.fromCharCode(bytes[i++]);
        let sign = 1;
        let digits = '';
        if (i < n && bytes[i] === 0x2d && i + 1 < n && isDigit(bytes[i + 1])) {
          sign = -1;
          i++;
        }
        while (i < n && isDigit(bytes[i])) digits += String.fromCharCode(bytes[i++]);
        if (i < n && bytes[i] === 0x20) i++;  // the delimiter belongs to the word
        yield { type: 'word', name, parameter: digits ? sign * Number(digits) : null };
      } else if (i < n && bytes[i] === 0x27) {
        const hex = String.fromCharCode(bytes[i + 1] ?? 0, bytes[i + 2] ?? 0);
        i += 3;
        const value = parseInt(hex, 16);
        if (!Number.isNaN(value)) yield { type: 'text', text: CharOfByte(value), bytes: 1 };
      } else if (i < n) {
        const symbol = String.fromCharCode(bytes[i++]);
        if (symbol === '\\' || symbol === '{' || symbol === '}') {
          yield { type: 'text', text: symbol, bytes: 1 };
        } else if (symbol === '~') {
          yield { type: 'text', text: '\u00a0', bytes: 1 };
        } else if (symbol === '\r' || symbol === '\n') {
          yield { type: 'word', name: 'par', parameter: null };
        } else {
          yield { type: 'symbol', symbol };
        }
      }
    } else if (b === 0x0d || b === 0x0a) {
      i++;
    } else {
      let text = '';
      const start = i;
      while (i < n && bytes[i] !== 0x5c && bytes[i] !== 0x7b && bytes[i] !== 0x7d &&
             bytes[i] !== 0x0d && bytes[i] !== 0x0a) {
        text += CharOfByte(bytes[i++]);
      }
      yield { type: 'text', text, bytes: i - start };
    }
  }
}

const SKIPPED = new Set(['filetbl', 'footer', 'footerf', 'footerl', 'footerr', 'footnote',
  'header', 'headerf', 'headerl', 'headerr', 'info', 'listoverridetable', 'listtable', 'object',
  'pict', 'revtbl', 'stylesheet', 'xe']);
const CHARACTERS = { bullet: '\u2022', emdash: '\u2014', endash: '\u2013', ldblquote: '\u201c',
  rdblquote: '\u201d', lquote: '\u2018', rquote: '\u2019', tab: '\t', line: '\u2028' };
const UNDERLINES = new Set(['ul', 'uld', 'uldash', 'uldb', 'ulth', 'ulw', 'ulwave']);

// Returns { fonts: Map entry -> name, colours: [css|null], defaultFont,
// defaultTabTwips, paragraphs: [{ runs: [{ text, state }], state }] }.
export function ReadRtf(bytes) {
  const document = { fonts: new Map(), colours: [], defaultFont: 0, defaultTabTwips: 720,
    paragraphs: [] };
  let group = { state: PlainState(), destination: 'text', uc: 1 };
  const stack = [];
  let runs = [];
  let fontEntry = null;
  let fontName = '';
  let colour = null;
  let skipFallback = 0;
  let endState = null;
  const on = (t) => t.parameter === null || t.parameter !== 0;

  const append = (text, state) => {
    const last = runs[runs.length - 1];
    if (last && last.state === state) last.text += text;
    else runs.push({ text, state });
  };
  // Every change of state copies it, so that runs can share unchanged ones.
  const set = (change) => {
    group.state = { ...group.state, ...change };
  };

  for (const token of Tokens(bytes)) {
    if (token.type === 'open') {
      stack.push(group);
      group = { ...group };
      continue;
    }
    if (token.type === 'close') {
      if (stack.length === 1) endState = group.state;
      if (stack.length) group = stack.pop();
      continue;
    }
    if (group.destination === 'skip') continue;
    if (token.type === 'symbol') {
      if (token.symbol === '*') group.destination = 'skip';
      continue;
    }
    if (token.type === 'text') {
      let text = token.text;
      if (skipFallback > 0) {
        const dropped = Math.min(skipFallback, text.length);
        text = text.slice(dropped);
        skipFallback -= dropped;
      }
      if (!text) continue;
      if (group.destination === 'fonttbl') {
        for (const c of text) {
          if (c === ';') {
            if (fontEntry !== null) document.fonts.set(fontEntry, fontName.trim());
            fontName = '';
          } else {
            fontName += c;
          }
        }
      } else if (group.destination === 'colortbl') {
        for (const c of text) {
          if (c === ';') {
            document.colours.push(colour ? `rgb(${colour.r}, ${colour.g}, ${colour.b})` : null);
            colour = null;
          }
        }
      } else {
        append(text, group.state);
      }
      continue;
    }
    skipFallback = 0;
    const { name, parameter } = token;
    if (SKIPPED.has(name)) {
      group.destination = 'skip';
    } else if (name === 'fonttbl') {
      group.destination = 'fonttbl';
    } else if (name === 'colortbl') {
      group.destination = 'colortbl';
      document.colours = [];
    } else if (name === 'red' || name === 'green' || name === 'blue') {
      colour ??= { r: 0, g: 0, b: 0 };
      colour[name[0]] = parameter ?? 0;
    } else if (name === 'f') {
      if (group.destination === 'fonttbl') {
        fontEntry = parameter ?? 0;
        fontName = '';
      } else {
        set({ font: parameter ?? 0 });
      }
    } else if (group.destination !== 'text') {
      continue;  // font families, pitches and character sets
    } else if (name === 'par') {
      document.paragraphs.push({ runs, state: group.state });
      runs = [];
    } else if (name in CHARACTERS) {
      append(CHARACTERS[name], group.state);
    } else if (name === 'u') {
      const code = parameter ?? 0;
      append(String.fromCharCode(code < 0 ? code + 65536 : code), group.state);
      skipFallback = group.uc;
    } else if (name === 'uc') {
      group.uc = Math.max(0, parameter ?? 1);
    } else if (name === 'deff') {
      document.defaultFont = parameter ?? 0;
    } else if (name === 'deftab') {
      if (parameter > 0) document.defaultTabTwips = parameter;
    } else if (name === 'plain') {
      group.state = PlainState();
    } else if (name === 'b') {
      set({ bold: on(token) });
    } else if (name === 'i') {
      set({ italic: on(token) });
    } else if (UNDERLINES.has(name)) {
      set({ underline: on(token) });
    } else if (name === 'ulnone') {
      set({ underline: false });
    } else if (name === 'strike' || name === 'strikedl') {
      set({ strike: on(token) });
    } else if (name === 'super' || name === 'sub') {
      set({ align: name });
    } else if (name === 'nosupersub') {
      set({ align: '' });
    } else if (name === 'fs') {
      const size = parameter ?? DEFAULT_HALF_POINTS;
      if (size > 0) set({ halfPoints: Math.min(size, LARGEST_HALF_POINTS) });
    } else if (name === 'cf') {
      set({ foreground: parameter ?? 0 });
    } else if (name === 'highlight') {
      set({ highlight: parameter ?? 0 });
    }
  }
  // The last line, empty or not, keeps the state in force before the
  // document's closing brace.
  document.paragraphs.push({ runs, state: endState ?? group.state });
  return document;
}

const FAMILY_FALLBACKS = {
  'arial': "'Liberation Sans', sans-serif",
  'times new roman': "'Liberation Serif', serif",
  'courier new': "'Liberation Mono', monospace",
};

export function CssFamily(name) {
  const fallback = FAMILY_FALLBACKS[name.toLowerCase()];
  // Single quotes: the family goes into a style attribute written with double ones.
  const quoted = `'${name.replace(/["'\\<>&]/g, '')}'`;
  return fallback ? `${quoted}, ${fallback}` : quoted;
}

function Escape(text) {
  return text.replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c])
    .replace(/\u2028/g, '<br>');
}

// The font alone: a paragraph's own, which sets the height of its lines.
function FontStyle(document, state) {
  const fonts = document.fonts;
  const name = fonts.get(state.font < 0 ? document.defaultFont : state.font) ??
    fonts.get(document.defaultFont);
  const family = name ? `font-family:${CssFamily(name)};` : '';
  return `${family}font-size:${state.halfPoints / 2}pt;`;
}

function StyleOf(document, state) {
  let style = FontStyle(document, state);
  if (state.bold) style += 'font-weight:bold;';
  if (state.italic) style += 'font-style:italic;';
  const lines = (state.underline ? ' underline' : '') + (state.strike ? ' line-through' : '');
  if (lines) style += `text-decoration:${lines.trim()};`;
  const colour = (entry) => (entry > 0 ? document.colours[entry] : null);
  if (colour(state.foreground)) style += `color:${colour(state.foreground)};`;
  if (colour(state.highlight)) style += `background-color:${colour(state.highlight)};`;
  return style;
}

// The document as HTML: one <p> per paragraph, one <span> per run; an empty
// paragraph holds a <br> in its own size so that it keeps its height.
export function RenderHtml(document) {
  const styles = new Map();
  const styleOf = (state) => {
    let style = styles.get(state);
    if (style === undefined) {
      style = StyleOf(document, state);
      styles.set(state, style);
    }
    return style;
  };
  let html = '';
  const tag = (state) => (state.align === 'super' ? 'sup' : 'sub');
  for (const paragraph of document.paragraphs) {
    const first = paragraph.runs.length ? paragraph.runs[0].state : paragraph.state;
    html += `<p style="${FontStyle(document, first)}">`;
    if (paragraph.runs.length === 0) {
      html += `<span style="${styleOf(paragraph.state)}"><br></span>`;
    }
    for (const run of paragraph.runs) {
      const text = Escape(run.text);
      html += run.state.align
        ? `<span style="${styleOf(run.state)}"><${tag(run.state)}>${text}</${tag(run.state)}></span>`
        : `<span style="${styleOf(run.state)}">${text}</span>`;
    }
    html += '</p>';
  }
  return html;
}
