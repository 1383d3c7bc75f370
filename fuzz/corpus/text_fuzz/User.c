//--------------------------------------------------------------------------------
// Title: Main - [ golden ]
// Build:MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ] - [ Build_V190617 ]
//--------------------------------------------------------------------------------
// SetupVal:102561-433310-011017,cmt:golden set
// CN01:Ball
// CN02:Line
// CN03:Lamp
// CN04:TwoWire
// CN05:Heat
// CN06:
// CN07:Arm
// CN08:Sonar3
// CN09:Sonar2
// CN10:Sonar1
//--------------------------------------------------------------------------------
#include "M_Main.h"
#include "M_I2C.h"
#include "M_SIO.h"
#include "M_EIO.h"
//--------------------------------------------------------------------------------
// Functions
//--------------------------------------------------------------------------------
void user_sub_30(void);
void user_sub_1(void);
void user_main(void);
//--------------------------------------------------------------------------------
// Program Name : Tick.C
//--------------------------------------------------------------------------------
void user_sub_30(void)
{
stt_snx4410();
  if (gAD[CN10] < 511) {
    gV[VAR_A] = gV[VAR_A] + 1;
  } else {
  }
  if (gAD[CN1] < 511) {
    return;
  } else {
  }
}
//--------------------------------------------------------------------------------
// Program Name : Turn.C
//--------------------------------------------------------------------------------
void user_sub_1(void)
{
  int n1;
stt_snx4410();
  motor(40, -40);
  if (get_ping(CN10) < 500) {
    return;
  } else {
  }
  wait_ms(200);
  for (n1 = 0; n1 < 2; n1++) {
    set_Led(1, LED_ON);
    set_Led(2, LED_OFF);
  }
}
//--------------------------------------------------------------------------------
// Program Name : golden.C
//--------------------------------------------------------------------------------
void user_main(void)
{
  int n1,n2;
stt_snx4410();
  gV[VAR_A] = 5;
  for (n1 = 0; n1 < 3; n1++) {
    motor(50, 50);
    motor(0, gV[VAR_B]);
    motor(gV[VAR_C], -30);
    motor(gV[VAR_A], gV[VAR_B]);
    motor(0, 0);
    motor(40, -40);
    motor(20, 60);
    motor(60, 20);
    motor(-20, -60);
    motor(-60, -20);
  }
  for (n2 = 0; n2 < 10; n2++) {
    if (gAD[CN1] < 511) {
      break;
    } else if (get_temp(gAD[CN5]) > 250) {
      continue;
    } else if (sub_io_get_sensor(2, CN2) == sub_io_get_gV(1, VAR_C)) {
      wait_ms(500);
    } else {
      wait_ms((UINT)gV[2]);
    }
  }
  while (TRUE) {
    if (judge_dir(0, 90, 30)) {
      clr_timer(2);
    } else if (get_timer(T2) > 2500L) {
      set_Led(1, LED_ON);
    } else if (gV[VAR_B] == gAD[CN1]) {
      set_Led(2, LED_OFF);
    } else if (x > 5) {
      gV[VAR_A]++;  	// count
    } else if (get_Led(1) == LED_ON) {
      set_Lat(CN2, HIGH);
    } else if (get_Lat(CN3) == LOW) {
      gPwm[0] = 0x64;
      gPwm[1] = 0x32 | 0x80;
      gPwm[2] = gV[VAR_U] < 0 ? (gV[VAR_U] * -1) | 0x80 : gV[VAR_U];
      gPwm[3] = gV[VAR_U] < 0 ? gV[VAR_U] * -1 : gV[VAR_U] | 0x80;
      pwm_out();
    } else if (chk_snx4410(PSx_R2)) {
      cn7_servo(1500);
    } else if (get_Uss(USS2) < 30) {
      set_Uss(I2C_WCMD_START);
    } else if (chk_pixydat_p(1, 0x0222)) {
      lcd_putX(2, (ROMC *)"Hello");
    } else if (get_pixydat_s(1) > ((UINT)50 * (UINT)50)) {
      lcd_puts_var2(1, VAR_C, VAR_D);
    } else if () {
      lcd_puts_sensor(1, CN1, CN2, CN3, CN4);
    } else {
      
      set_Uss(I2C_WCMD_STOP);
      get_Uss(USS1);
    }
    user_sub_30();
    user_sub_1();
    user_sub_1();
    sub_io_set_gV(1, VAR_A, 7);
    gV[VAR_A] = - 5;
    gV[VAR_A] = gV[VAR_B] + 1;
    gTmpUint = get_dir(0); sub_io_set_gV(2, VAR_C, gTmpUint);
  }
}
//--------------------------------------------------------------------------------
