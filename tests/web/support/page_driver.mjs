// The page as its users work it: every control found by its accessible name.
import { downloadedFile, downloadsTo } from './browser.mjs';

export const kParameterNames = ['WaveLength', 'UpdatePeriod', 'Rate', 'FadeOut', 'DecayRate', 'Mix'];

export class PageDriver {
  // Opens url in a new tab; every console error and uncaught exception of
  // the page is kept in errors.
  static async open(browser, url, { beforeScripts } = {}) {
    const page = await browser.newPage();
    const errors = [];
    page.on('console', (message) => {
      if (message.type() === 'error') errors.push(message.text());
    });
    page.on('pageerror', (error) => errors.push(error.message));
    if (beforeScripts) await page.evaluateOnNewDocument(beforeScripts);
    await page.setViewport({ width: 1280, height: 1100 });
    await page.goto(url);
    await page.waitForSelector('body[data-ready="true"]', { timeout: 20000 });
    return new PageDriver(browser, page, errors);
  }

  constructor(browser, page, errors) {
    this.browser = browser;
    this.page = page;
    this.errors = errors;
  }

  control(name) {
    return this.page.waitForSelector(`::-p-aria(${name})`, { timeout: 5000 });
  }

  // The accessible names of every control as the browser's accessibility
  // tree has them.
  async controlNames() {
    const names = [];
    const walk = (node) => {
      if (node.name) names.push(node.name);
      (node.children ?? []).forEach(walk);
    };
    walk(await this.page.accessibility.snapshot());
    return names;
  }

  // The file input, found by its label: Chromium's name query reads a file
  // input's name with its value appended ("Audio file: No file chosen"),
  // although its accessibility tree names it "Audio file".
  fileInput() {
    return this.page.evaluateHandle(
      () => [...document.querySelectorAll('label')].find((label) => label.textContent.trim() === 'Audio file').control,
    );
  }

  async upload(file) {
    const before = await this.soundName();
    await (await this.fileInput()).uploadFile(file);
    await this.page.waitForFunction(
      (previous) => document.getElementById('sound-name').textContent !== previous || !document.getElementById('message').hidden,
      { timeout: 20000 },
      before,
    );
  }

  soundName() {
    return this.page.$eval('#sound-name', (element) => element.textContent);
  }

  async message() {
    return this.page.$eval('[role="alert"]', (element) => (element.hidden ? '' : element.textContent));
  }

  async setTempo(tempo) {
    const input = await this.control('Tempo');
    await input.click({ count: 3 });
    await input.type(String(tempo));
    await this.page.keyboard.press('Tab');
  }

  // A step by its display text, a percentage by its plain value.
  async setParameter(name, value) {
    const control = await this.control(name);
    if (typeof value === 'string') {
      await control.select(value);
      return;
    }
    await control.evaluate((input, plain) => {
      input.value = String(plain);
      input.dispatchEvent(new Event('input', { bubbles: true }));
      input.dispatchEvent(new Event('change', { bubbles: true }));
    }, value);
  }

  // Chooses a preset from the list named Preset, by its name.
  async choosePreset(name) {
    const list = await this.control('Preset');
    await list.evaluate((select, wanted) => {
      select.selectedIndex = [...select.options].findIndex((option) => option.text === wanted);
      select.dispatchEvent(new Event('change', { bubbles: true }));
    }, name);
  }

  // The texts of the Preset list's entries, and the one it shows.
  async presetTexts() {
    const list = await this.control('Preset');
    return list.evaluate((select) => ({
      entries: [...select.options].map((option) => option.text),
      shown: select.options[select.selectedIndex].text,
    }));
  }

  // What a parameter's control holds: a step's text, a percentage's number.
  async parameterValue(name) {
    const control = await this.control(name);
    return control.evaluate((element) =>
      element.tagName === 'SELECT' ? element.options[element.selectedIndex].text : Number(element.value),
    );
  }

  async click(name) {
    await (await this.control(name)).click();
  }

  // Clicks Download and answers the file the browser saved.
  async download(folder) {
    await downloadsTo(this.browser, folder);
    await this.click('Download');
    return downloadedFile(folder);
  }

  close() {
    return this.page.close();
  }
}
