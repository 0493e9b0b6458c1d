// Photographs one topic page in each format of built outputs, at 1280×900 and at a phone's 390×844
// (the whole page there, cut at 3000 px):
//   node screenshots.mjs TARGET PAGE GROUP=OUTPUT ...   ->  TARGET/GROUP-FORMAT-WIDTH.png
import { chromium } from "playwright-core";
import { readdirSync } from "node:fs";
import { pathToFileURL } from "node:url";

const [target, page, ...builds] = process.argv.slice(2);
const sizes = [{ width: 1280, height: 900 }, { width: 390, height: 844, whole: true }];
const browser = await chromium.launch({
  executablePath: process.env.LEAFSMITH_CHROMIUM || "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
try {
  for (const { width, height, whole } of sizes) {
    const tab = await browser.newPage({ viewport: { width, height }, deviceScaleFactor: 1 });
    for (const build of builds) {
      const [group, out] = [build.slice(0, build.indexOf("=")), build.slice(build.indexOf("=") + 1)];
      const single = readdirSync(`${out}/SingleHTML`).find((f) => f.endsWith(".htm"));
      const formats = { chm: `CHM/html/${page}`, website: `WEB/html/${page}`, ebook: `eBook/html/${page}`,
        faq: "FAQ/html/faq.htm", single: `SingleHTML/${single}` };
      for (const [format, file] of Object.entries(formats)) {
        await tab.goto(pathToFileURL(`${out}/${file}`).href, { waitUntil: "load" });
        const tall = whole ? Math.min(3000, await tab.evaluate(() => document.documentElement.scrollHeight)) : height;
        await tab.screenshot({ path: `${target}/${group}-${format}-${width}.png`, fullPage: whole,
          clip: { x: 0, y: 0, width, height: tall } });
      }
    }
    await tab.close();
  }
} finally {
  await browser.close();
}
