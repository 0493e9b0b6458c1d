// Checks built pages in Chromium: at a phone's width (390 px) nothing may stick out sideways, and
// at 390 and 1280 px, in the light and the dark colour scheme, every visible text must reach a
// contrast of 4.5:1 against its background (WCAG 2).
//   node layout_test.mjs NAME=FOLDER ...   (every *.htm under each FOLDER; NAME "Group:format" or any)
// Pages are served from a made-up http origin so that redirecting index pages can be held still.
import { chromium } from "playwright-core";
import { readFileSync, readdirSync, existsSync } from "node:fs";
import { join, resolve } from "node:path";

const sets = process.argv.slice(2).map((arg) => [arg.slice(0, arg.indexOf("=")),
  resolve(arg.slice(arg.indexOf("=") + 1))]);
const modes = [
  { name: "390", viewport: { width: 390, height: 844 }, width: true },
  { name: "1280", viewport: { width: 1280, height: 900 } },
  { name: "1280-dark", viewport: { width: 1280, height: 900 }, colorScheme: "dark" },
];
const origin = "http://pages.invalid";
const pagesUnder = (dir) =>
  readdirSync(dir, { recursive: true }).filter((f) => /\.html?$/i.test(f)).sort().map((f) => join(dir, f));

// Runs in the page: the widest elements that stick out, and the texts below 4.5:1.
function inspect(checkWidth) {
  const ctx = document.createElement("canvas").getContext("2d", { willReadFrequently: true });
  const colours = new Map();
  const rgba = (css) => colours.get(css) || colours.set(css, paint(css)).get(css).slice();
  const paint = (css) => {
    ctx.clearRect(0, 0, 1, 1);
    ctx.fillStyle = "#0000";
    ctx.fillStyle = css;
    ctx.fillRect(0, 0, 1, 1);
    const [r, g, b, a] = ctx.getImageData(0, 0, 1, 1).data;
    return [r, g, b, a / 255];
  };
  const over = (top, below) => [0, 1, 2].map((i) => top[i] * top[3] + below[i] * (1 - top[3])).concat(1);
  const lum = (c) => {
    const [r, g, b] = c.slice(0, 3).map((v) => ((v /= 255) <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4));
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const hex = (c) => "#" + c.slice(0, 3).map((v) => Math.round(v).toString(16).padStart(2, "0")).join("") +
    (c[3] < 1 ? Math.round(c[3] * 255).toString(16).padStart(2, "0") : "");
  const name = (el) => el.localName + [...el.classList].slice(0, 2).map((c) => "." + c).join("");
  const selector = (el) =>
    (el.parentElement && el.parentElement !== document.body ? name(el.parentElement) + ">" : "") + name(el);
  const snippet = (s) => s.replace(/\s+/g, " ").trim().slice(0, 40);

  // What lies under everything: the canvas of the page's colour scheme.
  const probe = document.body.appendChild(document.createElement("div"));
  probe.style.cssText = "display:none;background:Canvas";
  const canvas = rgba(getComputedStyle(probe).backgroundColor);
  probe.remove();
  // The colours an element's text sits on, several where a gradient lies below; url() pictures are
  // icons and bullets beside the text, so they are passed over.
  const under = new Map();
  const backgrounds = (el) => {
    if (!el) return [canvas];
    if (under.has(el)) return under.get(el);
    const s = getComputedStyle(el);
    const layers = [];
    if (/gradient/.test(s.backgroundImage))
      layers.push(s.backgroundImage.match(/(rgba?|color|oklch|oklab|lab|lch|hsla?)\([^)]*\)/g).map(rgba));
    const own = rgba(s.backgroundColor);
    if (own[3] > 0) layers.push([own]);
    let result = layers.some((l) => l.every((c) => c[3] === 1)) ? [[255, 255, 255, 1]] : backgrounds(el.parentElement);
    for (const layer of layers.reverse()) result = result.flatMap((b) => layer.map((c) => over(c, b)));
    under.set(el, result);
    return result;
  };
  const opacity = (el) => (el ? +getComputedStyle(el).opacity * opacity(el.parentElement) : 1);
  const fails = [];
  let checked = 0;
  const checkText = (el, text) => {
    checked++;
    const bgs = backgrounds(el);
    const fg = rgba(getComputedStyle(el).color);
    fg[3] *= opacity(el);
    const mean = (f) => bgs.reduce((sum, b) => sum + f(b), 0) / bgs.length;
    const [a, b] = [mean((bg) => lum(over(fg, bg))), mean(lum)];
    const ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
    if (ratio < 4.5)
      fails.push({ sel: selector(el), text: snippet(text), fg: hex(fg),
        bg: hex(bgs[0]) + (bgs.length > 1 ? "~gradient" : ""), ratio: Math.round(ratio * 100) / 100 });
  };
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  const range = document.createRange();
  for (let node; (node = walker.nextNode()); ) {
    const el = node.parentElement;
    if (!node.data.trim() || el.closest("script,style,noscript,template,select,textarea")) continue;
    if (!el.checkVisibility({ opacityProperty: true, visibilityProperty: true })) continue;
    range.selectNodeContents(node);
    if (![...range.getClientRects()].some((r) => r.width > 0 && r.height > 0)) continue;
    checkText(el, node.data);
  }
  // Form controls against their own background, the options of a list as it drops down.
  for (const select of document.querySelectorAll("select")) {
    if (!select.checkVisibility({ opacityProperty: true, visibilityProperty: true })) continue;
    checkText(select, select.selectedOptions[0]?.text || "");
    for (const option of select.options) if (option.text.trim()) checkText(option, option.text);
  }

  const result = { checked, fails, scrollWidth: document.documentElement.scrollWidth, innerWidth };
  if (checkWidth && result.scrollWidth > innerWidth + 1) {
    const clipped = (from) => {
      for (let e = from; e && e !== document.body; e = e.parentElement)
        if (getComputedStyle(e).overflowX !== "visible") return true;
      return false;
    };
    // Elements past the edge, or holding a run of text that is; only the outermost are named.
    const out = new Map();
    const mark = (el, right, text, clip) => {
      if (right <= innerWidth + 1 || clipped(clip)) return;
      const found = out.get(el) ?? out.set(el, { sel: selector(el), text: snippet(text), right: 0 }).get(el);
      found.right = Math.max(found.right, Math.round(right));
    };
    for (const el of document.querySelectorAll("body, body *"))
      mark(el, el.getBoundingClientRect().right, el.textContent, el.parentElement);
    const texts = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node; (node = texts.nextNode()); ) {
      if (!node.data.trim()) continue;
      range.selectNodeContents(node);
      mark(node.parentElement, range.getBoundingClientRect().right, node.data, node.parentElement);
    }
    result.offenders = [...out].filter(([el]) => !out.has(el.parentElement)).map(([, found]) => found)
      .sort((a, b) => b.right - a.right).slice(0, 3);
  }
  return result;
}

const browser = await chromium.launch({
  executablePath: process.env.LEAFSMITH_CHROMIUM || "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
const problems = new Map(); // "label mode" -> { kind -> [problem] }
const note = (label, mode, kind, problem) => {
  const key = `${label} ${mode}`;
  if (!problems.has(key)) problems.set(key, {});
  (problems.get(key)[kind] ||= []).push(problem);
};
// Each page is loaded once at a phone's width, then widened and darkened in place (no group's
// script looks at the width); two pages load side by side.
const context = await browser.newContext({ viewport: modes[0].viewport, deviceScaleFactor: 1, colorScheme: "light" });
await context.route(origin + "/**", (route) => {
  const file = decodeURIComponent(new URL(route.request().url()).pathname);
  if (!existsSync(file)) return route.fulfill({ status: 404 });
  if (!/\.html?$/i.test(file)) return route.fulfill({ path: file });
  const body = readFileSync(file, "latin1").replace(/<meta[^>]*http-equiv=["']?refresh[^>]*>/gi, "");
  return route.fulfill({ body: Buffer.from(body, "latin1"), contentType: "text/html" });
});
const queue = sets.flatMap(([label, dir]) =>
  pagesUnder(dir).map((file) => ({ label, file, where: file.slice(dir.length + 1) })));
const work = async () => {
  const page = await context.newPage();
  for (let item; (item = queue.shift()); ) {
    const { label, file, where } = item;
    await page.setViewportSize(modes[0].viewport);
    await page.emulateMedia({ colorScheme: "light" });
    try {
      await page.goto(origin + encodeURI(file), { waitUntil: "load" });
      for (const mode of modes) {
        await page.setViewportSize(mode.viewport);
        await page.emulateMedia({ colorScheme: mode.colorScheme || "light" });
        const result = await page.evaluate(inspect, !!mode.width);
        const sel = result.offenders?.map((o) => o.sel).join();
        if (sel) note(label, mode.name, "width", { where, ...result, sel });
        for (const fail of result.fails) note(label, mode.name, "contrast", { where, ...fail });
        if (!result.checked) note(label, mode.name, "no text", { where });
      }
    } catch (error) {
      note(label, "all modes", "load", { where, error: error.message.split("\n")[0] });
    }
  }
};
try {
  await Promise.all([work(), work()]);
} finally {
  await browser.close();
}

let failures = 0;
const show = {
  width: (p) => `${p.where} ${p.scrollWidth}px wide: ` +
    p.offenders.map((o) => `${o.sel} "${o.text}" to ${o.right}px`).join(", "),
  contrast: (p) => `${p.where} ${p.sel} "${p.text}" ${p.fg} on ${p.bg} ${p.ratio}:1`,
  "no text": (p) => p.where,
  load: (p) => `${p.where} ${p.error}`,
};
for (const [label] of sets)
  for (const mode of [{ name: "all modes" }, ...modes]) {
    const found = problems.get(`${label} ${mode.name}`);
    if (!found) {
      if (mode.viewport) console.log(`ok   ${label} ${mode.name}`);
      continue;
    }
    for (const [kind, list] of Object.entries(found)) {
      failures++;
      // The worst first, one example per selector and pair of colours.
      const seen = new Set();
      const examples = list
        .sort((a, b) => (a.ratio ?? 0) - (b.ratio ?? 0) || (b.scrollWidth ?? 0) - (a.scrollWidth ?? 0))
        .filter((p) => !seen.has(p.sel + p.fg + p.bg) && seen.add(p.sel + p.fg + p.bg)).slice(0, 3);
      const pages = new Set(list.map((p) => p.where)).size;
      console.log(`FAIL ${label} ${mode.name} ${kind}: ${list.length} on ${pages} page(s), e.g. ` +
        examples.map(show[kind]).join("; "));
    }
  }
console.log(failures ? `${failures} failing group(s) of checks` : "all pages fit and read well");
process.exit(failures ? 1 : 0);
