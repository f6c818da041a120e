// The link-parameter word's fields both link layers read (F and K are stored minus one).
localparam [13:0] P14 = P;
wire [13:0] f         = {6'd0, lp[25:18]} + 14'd1;
wire [13:0] k         = {9'd0, lp[30:26]} + 14'd1;
wire [13:0] fk        = f * k;
wire        unused_lp = ^lp[63:62];
wire        scr_on    = lp[12];
