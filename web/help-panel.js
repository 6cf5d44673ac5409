// The "How to play" panel: opens by itself on a first visit, and from its button; closes with
// its Close button, Escape or a tap outside it, and once closed does not open by itself again.
'use strict';

const HELP_SEEN_KEY = 'domrak-help-seen';

class HelpPanel {
  constructor(panel, openButton, closeButton) {
    this.panel = panel;
    openButton.addEventListener('click', () => this.open());
    closeButton.addEventListener('click', () => panel.close());
    // A tap on the backdrop lands on the dialog itself, outside its content.
    panel.addEventListener('click', (event) => event.target === panel && panel.close());
    panel.addEventListener('close', () => remember(HELP_SEEN_KEY, '1'));
    if (recall(HELP_SEEN_KEY) === null) this.open();
  }

  open() {
    if (!this.panel.open) this.panel.showModal();
  }
}
