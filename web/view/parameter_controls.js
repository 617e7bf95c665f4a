// The six parameters' controls, made from what the module tells of them:
// the plug-in's names, a list of the steps' display texts for the two
// lengths, a slider over the plain value 0-100 for the percentages, each
// showing its value as the plug-in displays it. Every control is named by
// its label, the parameter's name.

export class ParameterControls {
  // onChange(index, plainValue) is called on every change a user makes.
  constructor(container, slicecast, onChange) {
    this.slicecast = slicecast;
    this.controls = slicecast.parameters().map((parameter) => this.add(container, parameter, onChange));
  }

  // The six plain values, in parameter order.
  values() {
    return this.controls.map((control) => control.value());
  }

  // Shows the six plain values given, in parameter order, as a preset sets
  // them; the caller passes them on to the sound.
  setValues(values) {
    this.controls.forEach((control, index) => control.set(values[index]));
  }

  // The six as their displays read ("WaveLength 1/8", "Rate 70 %").
  describe() {
    return this.controls.map((control) => `${control.name} ${control.text()}`);
  }

  add(container, parameter, onChange) {
    const row = document.createElement('div');
    row.className = 'parameter';
    const id = `parameter-${parameter.index}`;
    const label = document.createElement('label');
    label.htmlFor = id;
    label.textContent = parameter.name;
    row.append(label);
    const control = parameter.stepped ? this.stepList(id, parameter) : this.slider(id, parameter, row);
    row.insertBefore(control.element, row.children[1] ?? null);
    // Sliders tell of every move (input) and of the last (change); a value
    // set from a script may come with either.
    for (const type of ['input', 'change']) {
      control.element.addEventListener(type, () => {
        control.refresh();
        onChange(parameter.index, control.value());
      });
    }
    container.append(row);
    return {
      name: parameter.name,
      value: control.value,
      set: control.set,
      text: () => this.slicecast.valueText(parameter.index, control.value()),
    };
  }

  // The steps by their display texts, which are also the options' values.
  stepList(id, parameter) {
    const select = document.createElement('select');
    select.id = id;
    parameter.steps.forEach((text, step) => select.add(new Option(text, text, false, step === parameter.defaultValue)));
    const set = (step) => {
      select.selectedIndex = step;
    };
    return { element: select, value: () => select.selectedIndex, set, refresh: () => {} };
  }

  slider(id, parameter, row) {
    const input = document.createElement('input');
    input.type = 'range';
    input.id = id;
    input.min = '0';
    input.max = String(parameter.maximum);
    input.step = 'any';
    input.value = String(parameter.defaultValue);
    const shown = document.createElement('output');
    shown.htmlFor = id;
    row.append(shown);
    const value = () => Number(input.value);
    const refresh = () => {
      const text = this.slicecast.valueText(parameter.index, value());
      shown.value = text;
      input.setAttribute('aria-valuetext', text);
    };
    refresh();
    const set = (plain) => {
      input.value = String(plain);
      refresh();
    };
    return { element: input, value, set, refresh };
  }
}
