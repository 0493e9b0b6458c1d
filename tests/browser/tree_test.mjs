// Drives the built website and e-book of a project in Chromium:
//   node tree_test.mjs STRUCTURE.txt PLAIN_OUTPUT AUTOCOLLAPSE_OUTPUT
// STRUCTURE.txt is what `leafsmith-build --structure` printed for the project; the two output
// folders are builds of it without and with auto-collapse.
import { chromium } from "playwright-core";
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";

const [structureFile, plainOut, autoOut] = process.argv.slice(2);
const topics = readFileSync(structureFile, "utf8")
  .split("\n")
  .filter((line) => /^\d+\t/.test(line))
  .map((line) => {
    const [index, level, number, file, flags, , , , title] = line.split("\t");
    return { index: +index, level: +level, file, book: flags.includes("C"), page: flags.includes("P"), title };
  });

let failures = 0;
function check(condition, message) {
  if (condition) {
    console.log("ok   " + message);
  } else {
    console.log("FAIL " + message);
    failures++;
  }
}

const url = (folder, file) => pathToFileURL(`${folder}/${file}`).href;
const browser = await chromium.launch({
  executablePath: process.env.LEAFSMITH_CHROMIUM || "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  const firstPage = topics.find((topic) => topic.page);
  const row = (topic) => page.locator("ul.lstree li.lst-item").nth(topic.index).locator(":scope > .lst-row");

  // Every topic is in the tree, in order.
  await page.goto(url(`${plainOut}/WEB/html`, firstPage.file));
  const titles = await page.locator("ul.lstree li.lst-item > .lst-row a.lst-link").allTextContents();
  check(titles.length === topics.length, `the tree shows all ${topics.length} topics (${titles.length})`);
  check(titles.every((text, i) => text === topics[i].title.replace(/&amp;/g, "&")), "the tree shows the titles in order");
  check((await page.locator("li.lst-current").count()) === 1, "the current page is marked");

  // A click on a book collapses and expands it.
  const book = topics.find((topic) => topic.book);
  const child = topics[book.index + 1];
  const bookItem = page.locator("ul.lstree li.lst-item").nth(book.index);
  await row(book).locator("img.lst-icon").click();
  const afterFirst = await row(child).isVisible();
  await row(book).locator("img.lst-icon").click();
  const afterSecond = await row(child).isVisible();
  check(afterFirst !== afterSecond, `a click on the book "${book.title}" shows and hides "${child.title}"`);
  check((await bookItem.getAttribute("class")).includes("lst-closed") === !afterSecond, "the book's state follows");

  // A click on a leaf opens its page.
  const leaf = topics.filter((topic) => !topic.book && topic.page && topic.level === 1).pop() ||
    topics.filter((topic) => !topic.book).pop();
  for (const ancestor of topics.filter((topic) => topic.book)) {
    if (!(await row(leaf).isVisible())) await row(ancestor).locator("img.lst-icon").click();
  }
  await row(leaf).locator("a.lst-link").click();
  await page.waitForURL((address) => address.href.endsWith("/" + leaf.file));
  check(page.url().endsWith("/" + leaf.file), `a click on the leaf "${leaf.title}" opens ${leaf.file}`);
  check(await row(leaf).evaluate((node) => node.parentNode.className.includes("lst-current")), "and marks it current");

  // With auto-collapse, opening one book closes its open siblings.
  const rootBooks = topics.filter((topic) => topic.book && topic.level === topics[0].level);
  if (rootBooks.length >= 2) {
    const [first, second] = rootBooks;
    await page.goto(url(`${autoOut}/WEB/html`, firstPage.file));
    const isOpen = async (topic) => !(await page.locator("ul.lstree li.lst-item").nth(topic.index).getAttribute("class")).includes("lst-closed");
    const toggle = (topic) => page.locator("ul.lstree li.lst-item").nth(topic.index).locator(":scope > .lst-row img.lst-icon").click();
    if (!(await isOpen(first))) await toggle(first);
    check(await isOpen(first), `"${first.title}" is open`);
    await toggle(second);
    check((await isOpen(second)) && !(await isOpen(first)), `opening "${second.title}" closes "${first.title}"`);
  } else {
    check(false, "the project needs two top-level books to show auto-collapse");
  }
  check(errors.length === 0, "no script errors on the website pages" + (errors.length ? ": " + errors.join("; ") : ""));

  // The e-book's jump menu opens the chosen page and preselects the current one.
  const ebook = await browser.newPage();
  await ebook.goto(url(`${plainOut}/eBook/html`, firstPage.file));
  const target = topics.filter((topic) => topic.page).pop();
  check((await ebook.locator("select.jumpmenu").inputValue()) === firstPage.file, "the jump menu shows the current page");
  await ebook.locator("select.jumpmenu").selectOption(target.file);
  await ebook.waitForURL((address) => address.href.endsWith("/" + target.file));
  check(ebook.url().endsWith("/" + target.file), `choosing "${target.title}" in the jump menu opens ${target.file}`);
  check((await ebook.locator("select.jumpmenu").inputValue()) === target.file, "and the menu then shows that page");
} finally {
  await browser.close();
}
console.log(failures === 0 ? "all browser checks passed" : `${failures} browser checks failed`);
process.exit(failures === 0 ? 0 : 1);
