/* M_EIO.h of the simulated board: the firmware's extension I/O (LCD), declared as in the
 * sample build folder; the simulation runtime holds the code. */
#ifndef M_EIO_H
#define M_EIO_H

#include "M_Main.h"

void lcd_putX(int line, ROMC *text);
void lcd_puts_var1(int line, int a);
void lcd_puts_var2(int line, int a, int b);
void lcd_puts_var3(int line, int a, int b, int c);
void lcd_puts_var4(int line, int a, int b, int c, int d);
void lcd_puts_sensor(int line, int a, int b, int c, int d);

#endif
