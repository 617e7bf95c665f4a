// The factory presets as a list named Preset, above the parameters: choosing
// one sets the six controls to its values. A control changed afterwards
// leaves the list on the preset chosen last, marked as changed: an entry of
// its own ("Dusty Repeats (changed)") just above the preset's, so that the
// preset itself can be chosen again to go back to it (a list tells of a
// change only when another entry is chosen).

export class PresetList {
  // onChoose(values) is called with the chosen preset's six plain values.
  constructor(container, presets, onChoose) {
    this.presets = presets;
    this.chosen = 0;
    this.changed = new Option('', 'changed');
    const row = document.createElement('div');
    row.className = 'parameter preset';
    const label = document.createElement('label');
    label.htmlFor = 'preset';
    label.textContent = 'Preset';
    this.select = document.createElement('select');
    this.select.id = 'preset';
    presets.forEach((preset, index) => this.select.add(new Option(preset.name, String(index), false, index === 0)));
    this.select.addEventListener('change', () => {
      if (this.select.value === this.changed.value) return;
      this.chosen = Number(this.select.value);
      this.changed.remove();
      onChoose(this.presets[this.chosen].values);
    });
    row.append(label, this.select);
    container.append(row);
  }

  // A control was changed by the user.
  markChanged() {
    this.changed.text = `${this.presets[this.chosen].name} (changed)`;
    if (!this.changed.parentElement) this.select.add(this.changed, this.select.options[this.chosen]);
    this.changed.selected = true;
  }
}
