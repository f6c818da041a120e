// Opens the reference vectors named by +vectors=FILE into the bench's fd, or ends the run.
task open_vectors;
    reg [8*256-1:0] path;
    begin
        if (!$value$plusargs("vectors=%s", path)) begin
            $display("FAIL: no +vectors=FILE");
            $finish;
        end
        fd = $fopen(path, "r");
        if (fd == 0) begin
            $display("FAIL: cannot open vectors");
            $finish;
        end
    end
endtask
