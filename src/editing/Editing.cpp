// Catalogue editing: the component list, the descriptions.
