/** A colour of the game (red + 256 * green + 65536 * blue) as CSS. */
export function cssColour(value: number): string {
  const red = value & 0xff;
  const green = (value >> 8) & 0xff;
  const blue = (value >> 16) & 0xff;
  return `rgb(${red} ${green} ${blue})`;
}

/** An element's name as the window calls it: "Player1_Kart(2)", "Deste". */
export function elementKey(element: string, index: number): string {
  return index > 0 ? `${element}(${index})` : element;
}
