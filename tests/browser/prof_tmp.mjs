import { chromium } from "playwright-core";
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const ctx = await browser.newContext({ viewport: { width: 390, height: 844 } });
const page = await ctx.newPage();
await page.goto("file://" + process.argv[2], { waitUntil: "load" });
console.log(await page.evaluate(() => {
  const out = [];
  const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT); const rg = document.createRange(); for (let n; (n = w.nextNode());) { rg.selectNodeContents(n); const r = rg.getBoundingClientRect(); if (r.right > innerWidth + 1) out.push("TEXT " + n.parentElement.localName + "." + n.parentElement.className + " " + r.right + " " + n.data.slice(0, 60)); }
  for (const el of document.querySelectorAll("*")) { const r = el.getBoundingClientRect(); if (r.right > innerWidth + 1) out.push(el.localName + "." + el.className + " " + r.left + "-" + r.right + " " + getComputedStyle(el).position + " " + getComputedStyle(el.parentElement||el).overflowX); }
  return document.documentElement.scrollWidth + "\n" + out.join("\n");
}));
await browser.close();
